#!/usr/bin/python3
"""Contact sheet of the game's pictures, as the game shows them.

Usage: tools/make_contact_sheet.py [RESOURCES_DIR [OUTPUT_PNG]]
(defaults: resources/ and docs/assets.png of the repository)

Besides every BMP and TGA it adds two views made from the files the way the
game draws them: the sky box unrolled around the viewer (seams would show as
breaks) and the car seen from the chase camera.
"""
import glob
import os
import struct
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image, ImageDraw

from assets_pictures import PLAIN_FONT as LABEL_FONT, SKY_FACES, ground_texture_s  # as the game draws them
from world_extents import GROUND_HALF_SIZE, START_Z

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def read_bmp(path):
    """Rows in file order (row 0 is the first stored row, texture t = 0)."""
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height = struct.unpack_from('<ii', data, 18)
    row_size = (width * 3 + 3) & ~3
    rows = np.frombuffer(data, np.uint8, row_size * height, offset).reshape(height, row_size)
    return rows[:, :width * 3].reshape(height, width, 3)[:, :, ::-1]


def read_tga(path):
    data = open(path, 'rb').read()
    image_type = data[2]
    width, height, bits = struct.unpack_from('<HHB', data, 12)
    channels = bits // 8
    if image_type != 10:
        pixels = np.frombuffer(data, np.uint8, width * height * channels, 18)
    else:
        out, i = bytearray(), 18
        while len(out) < width * height * channels:
            header = data[i]
            i += 1
            if header >= 128:
                out += data[i:i + channels] * (header - 127)
                i += channels
            else:
                out += data[i:i + channels * (header + 1)]
                i += channels * (header + 1)
        pixels = np.frombuffer(bytes(out), np.uint8)
    pixels = pixels.reshape(height, width, channels)
    return pixels[:, :, 0] if channels == 1 else pixels[:, :, 2::-1]


def sky_panorama(resources, width=1024, height=384):
    """Looks up every direction on the cube through the corner table."""
    faces = {name: read_bmp(os.path.join(resources, name)) for name in SKY_FACES}
    azimuth = (np.arange(width) + 0.5) / width * 2 * np.pi - np.pi
    elevation = np.pi / 2 - (np.arange(height) + 0.5) / height * np.pi * 0.75
    az, el = np.meshgrid(azimuth, elevation)
    d = np.stack([np.cos(el) * np.sin(az), np.sin(el), -np.cos(el) * np.cos(az)], axis=-1)
    d = d / np.max(np.abs(d), axis=-1, keepdims=True)
    out = np.zeros(d.shape, np.uint8)
    for name, corners in SKY_FACES.items():
        origin, s_corner, t_corner = (np.asarray(c, np.float64) for c in corners)
        normal_axis = int(np.argmax(np.abs(np.cross(s_corner - origin, t_corner - origin))))
        mask = np.isclose(d[..., normal_axis], origin[normal_axis])
        rel = d[mask] - origin
        s = rel @ (s_corner - origin) / 4.0
        t = rel @ (t_corner - origin) / 4.0
        face = faces[name]
        size = face.shape[0]
        rows = np.clip((t * size).astype(int), 0, size - 1)
        cols = np.clip((s * size).astype(int), 0, size - 1)
        out[mask] = face[rows, cols]
    return Image.fromarray(out)


def ground_view(resources, name, width=710, height=400):
    """The ground picture on the whole ground plane, seen from the start of the
    road: s as the game lays the picture out, t follows world z, t = 0 the
    first stored row."""
    ground = read_bmp(os.path.join(resources, name))
    rows, cols = ground.shape[:2]
    eye = np.array([0.0, 17.0, START_Z])
    forward = np.array([0.0, -0.4, -1.0]) / np.linalg.norm([0.0, -0.4, -1.0])
    right = np.array([1.0, 0.0, 0.0])
    up = np.cross(right, forward)
    focal = height / 2 / np.tan(np.radians(22.5))
    px = np.arange(width) - width / 2 + 0.5
    py = height / 2 - np.arange(height) - 0.5
    X, Y = np.meshgrid(px, py)
    rays = forward * focal + X[..., None] * right + Y[..., None] * up
    out = np.full((height, width, 3), (150, 180, 220), np.uint8)
    hits = rays[..., 1] < 0
    distance = -eye[1] / rays[hits][:, 1]
    points = eye + rays[hits] * distance[:, None]
    inside = (np.abs(points[:, 0]) < GROUND_HALF_SIZE) & (np.abs(points[:, 2]) < GROUND_HALF_SIZE)
    s = ground_texture_s(points[inside, 0])
    t = (points[inside, 2] + GROUND_HALF_SIZE) / (2 * GROUND_HALF_SIZE)
    texels = ground[np.clip((t * rows).astype(int), 0, rows - 1),
                    np.clip((s * cols).astype(int), 0, cols - 1)]
    block = out[hits]
    block[inside] = texels
    out[hits] = block
    return Image.fromarray(out)


def read_obj(path):
    """Triangles with their material colour and texture colour, game-scaled."""
    directory = os.path.dirname(path)
    vertices, texcoords, triangles = [], [], []
    kd, maps, material = {}, {}, None
    lines = open(path).read().splitlines()
    for line in lines:
        if line.startswith('mtllib '):
            current = None
            for mline in open(os.path.join(directory, line.split()[1])).read().splitlines():
                words = mline.split()
                if words and words[0] == 'newmtl':
                    current = words[1]
                elif words and words[0] == 'Kd' and current:
                    kd[current] = np.array([float(w) for w in words[1:4]])
                elif words and words[0] == 'map_Kd':
                    maps[current] = read_tga(os.path.join(directory, words[1]))
    for line in lines:
        words = line.split()
        if not words:
            continue
        if words[0] == 'v':
            vertices.append([float(w) for w in words[1:4]])
        elif words[0] == 'vt':
            texcoords.append([float(w) for w in words[1:3]])
        elif words[0] == 'usemtl':
            material = words[1]
        elif words[0] == 'f':
            corners = [w.split('/') for w in words[1:]]
            v = [int(c[0]) - 1 for c in corners]
            t = [int(c[1]) - 1 if len(c) > 1 and c[1] else None for c in corners]
            for k in range(1, len(v) - 1):
                triangles.append(((v[0], v[k], v[k + 1]), (t[0], t[k], t[k + 1]), material))
    vertices = np.asarray(vertices)
    lo, hi = vertices.min(axis=0), vertices.max(axis=0)
    scale = 2.0 / np.max(np.abs(hi) + np.abs(lo))
    vertices = (vertices - (hi + lo) / 2) * scale
    return vertices, np.asarray(texcoords), triangles, kd, maps


def rotation_x(degrees):
    a = np.radians(degrees)
    return np.array([[1, 0, 0], [0, np.cos(a), -np.sin(a)], [0, np.sin(a), np.cos(a)]])


def chase_view(resources, width=710, height=400):
    """The car as the chase camera sees it: camera at (0, 17, 0) looking
    along (0, -0.4, -1); flat shading, nearest triangles drawn last."""
    unicorn = os.path.join(resources, 'models', 'unicorn')
    parts = [(read_obj(os.path.join(unicorn, 'body.obj')), 10.0, rotation_x(10), (0, 5, -30), True)]
    for x in (-2.0, 2.0):
        parts.append((read_obj(os.path.join(unicorn, 'wheel.obj')), 2.5, rotation_x(-35),
                      (x, 3, -29), False))
    forward = np.array([0.0, -0.4, -1.0]) / np.linalg.norm([0.0, -0.4, -1.0])
    right = np.array([1.0, 0.0, 0.0])
    up = np.cross(right, forward)
    eye = np.array([0.0, 17.0, 0.0])
    focal = height / 2 / np.tan(np.radians(22.5))
    light = np.array([0.5, 0.8, 0.4]) / np.linalg.norm([0.5, 0.8, 0.4])
    polygons = []
    for (vertices, texcoords, triangles, kd, maps), scale, rotation, offset, textured in parts:
        world = vertices * scale @ rotation.T + offset
        for (a, b, c), uv, material in triangles:
            p = world[[a, b, c]]
            normal = np.cross(p[1] - p[0], p[2] - p[0])
            normal /= np.linalg.norm(normal) + 1e-12
            rel = p - eye
            depth = rel @ forward
            if np.any(depth <= 0.1) or np.dot(normal, rel.mean(axis=0)) > 0:
                continue
            colour = kd.get(material, np.ones(3)) * 255
            if textured and material in maps and uv[0] is not None:
                texture = maps[material]
                u, v = texcoords[list(uv)].mean(axis=0)
                h, w = texture.shape[:2]
                colour = colour / 255 * texture[int(v % 1 * h), int(u % 1 * w)]
            shade = 0.35 + 0.65 * max(0.0, float(normal @ light))
            screen = [(width / 2 + focal * (r @ right) / z, height / 2 - focal * (r @ up) / z)
                      for r, z in zip(rel, depth)]
            polygons.append((depth.mean(), screen, tuple(int(c) for c in colour * shade)))
    image = Image.new('RGB', (width, height), (120, 150, 190))
    draw = ImageDraw.Draw(image)
    draw.rectangle((0, height * 0.45, width, height), fill=(90, 90, 92))
    for _, screen, colour in sorted(polygons, key=lambda p: -p[0]):
        draw.polygon(screen, fill=colour)
    return image


def as_shown(name, pixels):
    """The picture turned the way the game puts it on screen."""
    if name == 'raygun':
        return pixels.transpose(1, 0, 2)
    if name in ('XN', 'XP', 'ZN', 'ZP'):
        return pixels[::-1]  # side faces: t = 0 is the bottom edge
    return pixels


def main():
    resources = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REPO_ROOT, 'resources')
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(REPO_ROOT, 'docs', 'assets.png')
    pictures = sorted(glob.glob(os.path.join(resources, '*.bmp')))
    textures = sorted(glob.glob(os.path.join(resources, '*.tga')) +
                      glob.glob(os.path.join(resources, 'models', '*', '*.tga')))
    with tempfile.TemporaryDirectory() as scratch:
        tiles = []
        for path in pictures + textures:
            name = os.path.splitext(os.path.basename(path))[0]
            pixels = read_bmp(path) if path.endswith('.bmp') else read_tga(path)
            label = os.path.relpath(path, resources).replace('/', '_')
            tile = os.path.join(scratch, label + '.png')
            Image.fromarray(np.ascontiguousarray(as_shown(name, pixels))).save(tile)
            tiles.append(tile)
        for label, image in (('sky box around the viewer', sky_panorama(resources)),
                             ('level 1 ground from the start', ground_view(resources, 'terrain1.bmp')),
                             ('car from the chase camera', chase_view(resources))):
            tile = os.path.join(scratch, label.replace(' ', '_') + '.png')
            image.save(tile)
            tiles.append(tile)
        os.makedirs(os.path.dirname(output), exist_ok=True)
        # Labels in the font the pictures use: ImageMagick's own default needs Ghostscript's fonts.
        subprocess.run(['montage', '-font', LABEL_FONT, '-label', '%t', '-geometry', '240x240+4+4', '-tile', '6x',
                        '-background', '#d8d8d8'] + tiles + ['-depth', '8', '-strip', output], check=True)


if __name__ == '__main__':
    main()
