"""The game's OBJ models with their MTL libraries and TGA textures.

Models are built from a few solids (boxes, lathes, lofts, extruded outlines).
The game centres every model and fits its largest extent to 2, so the sizes
here only matter relative to each other. Texture coordinate v = 0 is the
first stored row of a texture, which is also the top row of the picture as
drawn here.
"""
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFont

from assets_files import write_tga

FORMAT_V, FORMAT_VT, FORMAT_VTN, FORMAT_VN = 'v', 'v/t', 'v/t/n', 'v//n'
TEXTURE_SIZE = 256


class Mesh:
    """Vertices, texture coordinates and faces, grouped, each group with one
    material and one face format."""

    def __init__(self):
        self.vertices, self.texcoords, self.normals = [], [], []
        self.groups = []  # (name, material, format, faces)

    def part(self, group, material, fmt, points, uvs, faces):
        """Adds one solid; faces index into points/uvs and are turned to face
        away from the solid's centre so every facet normal points outwards.
        Corners that coincide are merged, so no triangle has zero area, and
        points that no face uses are left out."""
        points = np.asarray(points, np.float64)
        centre = points.mean(axis=0)
        kept = []
        for face in faces:
            face = distinct_corners(points, face)
            if len(face) < 3:
                continue
            a, b, c = points[face[0]], points[face[1]], points[face[2]]
            normal = np.cross(b - a, c - a)
            if np.dot(normal, points[face].mean(axis=0) - centre) < 0:
                face, normal = face[::-1], -normal
            kept.append((face, normal / np.linalg.norm(normal)))
        used = sorted({i for face, _ in kept for i in face})
        slot = {}
        for i in used:
            self.vertices.append(tuple(points[i]))
            self.texcoords.append(tuple(uvs[i]))
            slot[i] = len(self.vertices)
        out = []
        for face, normal in kept:
            self.normals.append(tuple(normal))
            out.append([(slot[i], slot[i], len(self.normals)) for i in face])
        if self.groups and self.groups[-1][:3] == (group, material, fmt):
            self.groups[-1][3].extend(out)
        else:
            self.groups.append((group, material, fmt, out))

    def obj_text(self, library):
        lines = ['# Gorvanka model', 'mtllib ' + library]
        lines += ['v %.5f %.5f %.5f' % v for v in self.vertices]
        lines += ['vt %.5f %.5f' % t for t in self.texcoords]
        lines += ['vn %.4f %.4f %.4f' % n for n in self.normals]
        corner = {FORMAT_V: '%d', FORMAT_VT: '%d/%d', FORMAT_VTN: '%d/%d/%d', FORMAT_VN: '%d//%d'}
        for name, material, fmt, faces in self.groups:
            lines += ['g ' + name, 'usemtl ' + material]
            for face in faces:
                parts = []
                for v, t, n in face:
                    values = {FORMAT_V: (v,), FORMAT_VT: (v, t), FORMAT_VTN: (v, t, n),
                              FORMAT_VN: (v, n)}[fmt]
                    parts.append(corner[fmt] % values)
                lines.append('f ' + ' '.join(parts))
        return '\n'.join(lines) + '\n'


def distinct_corners(points, face):
    """The face's corners without repeats of the same position, in order."""
    out = []
    for i in face:
        if all(np.linalg.norm(points[i] - points[j]) > 1e-9 for j in out):
            out.append(i)
    return out


def mtl_text(materials, default_texture):
    """materials: (name, diffuse, texture file or None). The lines before the
    first newmtl set the model's "default" material, whose group is drawn
    last: white, so a model drawn with colours leaves the current colour
    white, and with default_texture that texture stays bound after it."""
    lines = ['# Gorvanka materials', 'Kd 1.000 1.000 1.000']
    if default_texture:
        lines.append('map_Kd ' + default_texture)
    for name, diffuse, texture in materials:
        lines += ['newmtl ' + name, 'Ka 0.200 0.200 0.200',
                  'Kd %.3f %.3f %.3f' % diffuse, 'Ks 0.300 0.300 0.300', 'Ns 200.0']
        if texture:
            lines.append('map_Kd ' + texture)
    return '\n'.join(lines) + '\n'


def save_model(directory, name, mesh, materials, textures, default_texture=None):
    """textures: file name -> (upright picture, run-length encoded?)."""
    os.makedirs(directory, exist_ok=True)
    library = name + '.mtl'
    with open(os.path.join(directory, name + '.obj'), 'w') as out:
        out.write(mesh.obj_text(library))
    with open(os.path.join(directory, library), 'w') as out:
        out.write(mtl_text(materials, default_texture))
    for file_name, (picture, run_length) in textures.items():
        write_tga(os.path.join(directory, file_name), np.asarray(picture), run_length)


# The car's shader multiplies every colour by the bound texture, so parts
# that carry only a colour get a plain white texture. The body's last group
# leaves it bound for the wheels, which the car draws without textures.
WHITE_TEXTURE = 'white.tga'


def white_texture():
    return Image.new('RGB', (8, 8), (255, 255, 255))


# ------------------------------------------------------------------ solids

def box(lo, hi, uv_rect):
    """Axis-aligned box; every side maps the whole uv_rect."""
    (x0, y0, z0), (x1, y1, z1) = lo, hi
    u0, v0, u1, v1 = uv_rect
    corners = [(x0, y0, z0), (x1, y0, z0), (x1, y1, z0), (x0, y1, z0),
               (x0, y0, z1), (x1, y0, z1), (x1, y1, z1), (x0, y1, z1)]
    sides = [(0, 1, 2, 3), (5, 4, 7, 6), (4, 0, 3, 7), (1, 5, 6, 2), (3, 2, 6, 7), (4, 5, 1, 0)]
    quad_uv = [(u0, v1), (u1, v1), (u1, v0), (u0, v0)]
    points, uvs, faces = [], [], []
    for side in sides:
        base = len(points)
        points += [corners[i] for i in side]
        uvs += quad_uv
        faces.append((base, base + 1, base + 2, base + 3))
    return points, uvs, faces


def lathe(profile, segments, uv_rect, axis='y', closed_ends=True):
    """Solid of revolution of (radius, height) pairs; u runs around, v along
    the profile. Axis 'x' turns it about x (the wheel)."""
    u0, v0, u1, v1 = uv_rect
    points, uvs, faces = [], [], []
    steps = [np.hypot(r1 - r0, h1 - h0) for (r0, h0), (r1, h1) in zip(profile, profile[1:])]
    along = np.concatenate([[0.0], np.cumsum(steps)]) / sum(steps)
    for i, (radius, height) in enumerate(profile):
        for j in range(segments + 1):
            a = 2 * np.pi * j / segments
            c, s = np.cos(a) * radius, np.sin(a) * radius
            points.append((height, c, s) if axis == 'x' else (c, height, s))
            uvs.append((u0 + (u1 - u0) * j / segments, v0 + (v1 - v0) * along[i]))
    rings = len(profile)
    for i in range(rings - 1):
        for j in range(segments):
            a = i * (segments + 1) + j
            b = a + segments + 1
            faces.append((a, a + 1, b + 1, b))
    if closed_ends:
        for i in (0, rings - 1):
            if profile[i][0] > 1e-9:
                ring = [i * (segments + 1) + j for j in range(segments)]
                faces.append(tuple(ring))
    return points, uvs, faces


def extrude(outline, thickness, uv_rect):
    """Convex outline in (x, z) extruded along y, uv from the outline's box."""
    u0, v0, u1, v1 = uv_rect
    outline = np.asarray(outline, np.float64)
    lo, hi = outline.min(axis=0), outline.max(axis=0)
    points, uvs = [], []
    for y in (-thickness / 2, thickness / 2):
        for x, z in outline:
            points.append((x, y, z))
            uvs.append((u0 + (u1 - u0) * (x - lo[0]) / (hi[0] - lo[0]),
                        v0 + (v1 - v0) * (hi[1] - z) / (hi[1] - lo[1])))
    n = len(outline)
    faces = [tuple(range(n)), tuple(range(n, 2 * n))]
    faces += [(i, (i + 1) % n, n + (i + 1) % n, n + i) for i in range(n)]
    return points, uvs, faces


def translate(solid, offset):
    points, uvs, faces = solid
    return [tuple(np.add(p, offset)) for p in points], uvs, faces


def loft(stations, segments, uv_rect, squareness=0.45):
    """Rounded-box cross sections (z, half width, bottom, top) joined along z."""
    u0, v0, u1, v1 = uv_rect
    z_lo, z_hi = stations[0][0], stations[-1][0]
    points, uvs, faces = [], [], []
    for z, half_width, bottom, top in stations:
        centre, half_height = (top + bottom) / 2, (top - bottom) / 2
        for j in range(segments + 1):
            a = 2 * np.pi * j / segments
            c, s = np.cos(a), np.sin(a)
            x = half_width * np.sign(c) * abs(c) ** squareness
            y = centre + half_height * np.sign(s) * abs(s) ** squareness
            points.append((x, y, z))
            uvs.append((u0 + (u1 - u0) * j / segments,
                        v0 + (v1 - v0) * (z - z_lo) / (z_hi - z_lo)))
    for i in range(len(stations) - 1):
        for j in range(segments):
            a = i * (segments + 1) + j
            b = a + segments + 1
            faces.append((a, a + 1, b + 1, b))
    for i in (0, len(stations) - 1):
        faces.append(tuple(i * (segments + 1) + j for j in range(segments)))
    return points, uvs, faces


def font(size):
    return ImageFont.truetype('/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf', size)


def speckle(picture, seed, amount):
    rng = np.random.RandomState(seed)
    pixels = np.asarray(picture, np.float32)
    pixels += rng.normal(0.0, amount, pixels.shape[:2])[..., None]
    return Image.fromarray(np.clip(pixels, 0, 255).astype(np.uint8))


# ---------------------------------------------------------- vehicle body

# Stations (z, half width, bottom, top) of the hull, nose at -z. The hull is
# wide in front of and behind the wheels and slim where they sit (the car
# puts them 1 unit behind its centre, 2.5 units in radius), so they show in
# notches at its sides.
HULL_STATIONS = [(-10.0, 1.3, -0.95, -0.45), (-9.0, 2.1, -1.1, -0.2), (-3.0, 2.4, -1.2, 0.0),
                 (-2.2, 2.4, -1.2, 0.0), (-1.9, 1.2, -1.3, 0.3), (4.3, 1.2, -1.3, 0.35),
                 (4.6, 2.6, -1.2, 0.2), (9.4, 2.6, -1.2, 0.3), (10.0, 2.2, -1.0, 0.2)]


def body_texture():
    size = TEXTURE_SIZE
    picture = Image.new('RGB', (size, size), (200, 30, 25))
    draw = ImageDraw.Draw(picture)
    draw.rectangle((int(0.62 * size), 0, int(0.88 * size), size), fill=(40, 40, 45))
    for u in (0.215, 0.265):
        draw.rectangle((int(u * size), 0, int((u + 0.02) * size), size), fill=(250, 245, 230))
    for cx in (0, size // 2, size):
        draw.ellipse((cx - 22, 100, cx + 22, 144), fill=(250, 245, 230))
        draw.text((cx - 9, 105), '7', font=font(32), fill=(20, 20, 20))
    draw.rectangle((0, 0, size, 8), fill=(250, 210, 60))
    return picture


TRIM_WHITE, TRIM_YELLOW, TRIM_RED, TRIM_DARK = ((0, 0, 0.5, 0.5), (0.5, 0, 1, 0.5),
                                               (0, 0.5, 0.5, 1), (0.5, 0.5, 1, 1))


def trim_texture():
    """Four flat quarters: white, yellow, red, dark grey."""
    half = TEXTURE_SIZE // 4
    picture = Image.new('RGB', (2 * half, 2 * half), (235, 235, 240))
    draw = ImageDraw.Draw(picture)
    draw.rectangle((half, 0, 2 * half, half), fill=(250, 200, 40))
    draw.rectangle((0, half, half, 2 * half), fill=(230, 20, 20))
    draw.rectangle((half, half, 2 * half, 2 * half), fill=(45, 45, 50))
    return picture


def make_body(directory):
    mesh = Mesh()
    mesh.part('hull', 'livery', FORMAT_VTN, *loft(HULL_STATIONS, 24, (0.0, 0.0, 1.0, 1.0)))
    mesh.part('spoiler', 'trim', FORMAT_VTN, *box((-2.7, 1.2, 8.4), (2.7, 1.45, 9.8), TRIM_WHITE))
    for x in (-1.2, 1.2):
        mesh.part('spoiler', 'trim', FORMAT_VTN,
                  *box((x - 0.12, 0.2, 8.9), (x + 0.12, 1.25, 9.3), TRIM_DARK))
    mesh.part('helmet', 'trim', FORMAT_VTN,
              *translate(lathe([(0.0, -0.5), (0.45, -0.35), (0.55, 0.0), (0.45, 0.35), (0.0, 0.5)],
                               12, TRIM_YELLOW), (0.0, 0.75, 2.6)))
    windshield = [(-0.9, 0.3, 0.6), (0.9, 0.3, 0.6), (0.7, 0.95, 1.4), (-0.7, 0.95, 1.4),
                  (-0.9, 0.25, 0.7), (0.9, 0.25, 0.7), (0.7, 0.9, 1.5), (-0.7, 0.9, 1.5)]
    quads = [(0, 1, 2, 3), (5, 4, 7, 6), (4, 0, 3, 7), (1, 5, 6, 2), (3, 2, 6, 7), (4, 5, 1, 0)]
    mesh.part('windshield', 'glass', FORMAT_VN, windshield, [(0, 0)] * 8, quads)
    for x in (-1.5, 1.5):
        mesh.part('headlights', 'trim', FORMAT_VTN,
                  *box((x - 0.35, -0.75, -9.3), (x + 0.35, -0.4, -8.9), TRIM_WHITE))
        mesh.part('taillights', 'trim', FORMAT_VTN,
                  *box((x - 0.5, -0.5, 9.6), (x + 0.5, -0.1, 10.05), TRIM_RED))
    for x in (-0.5, 0.5):
        mesh.part('exhaust', 'trim', FORMAT_VTN,
                  *box((x - 0.2, -0.95, 9.7), (x + 0.2, -0.6, 10.3), TRIM_DARK))
    materials = [('livery', (1.0, 1.0, 1.0), 'body.tga'),
                 ('trim', (1.0, 1.0, 1.0), 'trim.tga'),
                 ('glass', (0.15, 0.2, 0.25), WHITE_TEXTURE)]
    save_model(directory, 'body', mesh, materials,
               {'body.tga': (body_texture(), True), 'trim.tga': (trim_texture(), False),
                WHITE_TEXTURE: (white_texture(), False)}, WHITE_TEXTURE)


# ------------------------------------------------------------------ wheel

# A tyre with raised tread blocks and a hub on both faces; the axle runs
# along x. The car draws it with colours only, the scenery with its texture.
TYRE_RADIUS, TREAD_DEPTH, TYRE_HALF_WIDTH = 2.3, 0.2, 0.6
TREAD_BLOCKS = 14
HUB_RADIUS = 1.25
SPOKES = 5


def wheel_texture():
    size = TEXTURE_SIZE // 2
    picture = Image.new('RGB', (size, size), (30, 30, 32))
    draw = ImageDraw.Draw(picture)
    for x in range(0, size // 2, 8):
        draw.line((x, 0, x + 8, size), fill=(55, 55, 58), width=3)
    draw.rectangle((size // 2, 0, size, size // 2), fill=(190, 195, 205))
    draw.rectangle((size // 2, size // 2, size, size), fill=(210, 40, 30))
    return speckle(picture, 41, 5.0)


def make_wheel(directory):
    mesh = Mesh()
    rubber, metal, paint = (0, 0, 0.5, 1), (0.5, 0, 1, 0.5), (0.5, 0.5, 1, 1)
    w = TYRE_HALF_WIDTH
    mesh.part('tyre', 'rubber', FORMAT_VT,
              *lathe([(HUB_RADIUS, -w), (TYRE_RADIUS - 0.1, -w), (TYRE_RADIUS, -w + 0.1),
                      (TYRE_RADIUS, w - 0.1), (TYRE_RADIUS - 0.1, w), (HUB_RADIUS, w)],
                     28, rubber, axis='x', closed_ends=False))
    for i in range(TREAD_BLOCKS):
        a0 = 2 * np.pi * i / TREAD_BLOCKS
        a1 = a0 + 2 * np.pi / TREAD_BLOCKS * 0.55
        points = []
        for radius in (TYRE_RADIUS - 0.02, TYRE_RADIUS + TREAD_DEPTH):
            for a in (a0, a1):
                for x in (-w + 0.05, w - 0.05):
                    points.append((x, radius * np.cos(a), radius * np.sin(a)))
        order = [0, 1, 3, 2, 4, 5, 7, 6]
        points = [points[k] for k in order]
        faces = [(0, 1, 2, 3), (5, 4, 7, 6), (4, 0, 3, 7), (1, 5, 6, 2), (3, 2, 6, 7), (4, 5, 1, 0)]
        mesh.part('tread', 'tread', FORMAT_VT, points, [(0.1, 0.1)] * 8, faces)
    for side in (-1, 1):
        mesh.part('hub', 'metal', FORMAT_VT,
                  *lathe([(HUB_RADIUS, side * (w - 0.1)), (HUB_RADIUS * 0.8, side * (w + 0.02)),
                          (0.0, side * (w + 0.02))], 20, metal, axis='x'))
        for k in range(SPOKES):
            a = 2 * np.pi * k / SPOKES
            material = 'paint' if k == 0 else 'metal'
            spoke = box((-0.06, -0.12, 0.2), (0.06, 0.12, HUB_RADIUS * 0.95),
                        paint if k == 0 else metal)
            points = [(x + side * (w + 0.08),
                       y * np.cos(a) - z * np.sin(a), y * np.sin(a) + z * np.cos(a))
                      for x, y, z in spoke[0]]
            mesh.part('spoke' if k else 'marker', material, FORMAT_VT, points, spoke[1], spoke[2])
    materials = [('rubber', (0.09, 0.09, 0.1), 'wheel.tga'),
                 ('tread', (0.5, 0.5, 0.52), 'wheel.tga'),
                 ('metal', (0.8, 0.82, 0.85), 'wheel.tga'),
                 ('paint', (0.9, 0.15, 0.1), 'wheel.tga')]
    save_model(directory, 'wheel', mesh, materials, {'wheel.tga': (wheel_texture(), True)})


# --------------------------------------------------------------- mushrooms

CAP_PROFILE = [(0.0, 1.25), (0.45, 1.2), (0.8, 1.02), (1.0, 0.78), (1.02, 0.62),
               (0.7, 0.6), (0.3, 0.62)]
STEM_PROFILE = [(0.28, 0.0), (0.24, 0.3), (0.22, 0.65)]


def mushroom_texture(cap, spots, seed):
    """Top half the cap (u around, v from crown to rim), bottom half the stem."""
    size = TEXTURE_SIZE
    rng = np.random.RandomState(seed)
    picture = Image.new('RGB', (size, size), cap)
    draw = ImageDraw.Draw(picture)
    for _ in range(26):
        x, y = rng.randint(0, size), rng.randint(10, 74)
        r = rng.randint(6, 13)
        for dx in (-size, 0, size):
            draw.ellipse((x + dx - r * 1.4, y - r, x + dx + r * 1.4, y + r), fill=spots)
    draw.rectangle((0, 84, size, 128), fill=(225, 205, 170))
    draw.rectangle((0, 128, size, size), fill=(240, 235, 220))
    return speckle(picture, seed, 3.0).resize((size // 2, size // 2), Image.LANCZOS)


def make_mushroom(directory, cap, spots, seed):
    mesh = Mesh()
    mesh.part('cap', 'cap', FORMAT_VTN, *lathe(CAP_PROFILE, 24, (0, 0, 1, 0.5)))
    mesh.part('stem', 'stem', FORMAT_VTN, *lathe(STEM_PROFILE, 16, (0, 0.55, 1, 1)))
    materials = [('cap', (1.0, 1.0, 1.0), 'mushroom.tga'),
                 ('stem', (1.0, 1.0, 1.0), 'mushroom.tga')]
    save_model(directory, 'mushroom', mesh, materials,
               {'mushroom.tga': (mushroom_texture(cap, spots, seed), False)})


# ------------------------------------------------------------------ rifle

# Drawn turned -90 degrees about x, so the model's z is up in the world and
# its side (the x-z outline) faces the chase camera. Muzzle at +x.
RIFLE_PARTS = [
    # (group, material, outline in (x, z), thickness)
    ('stock', 'wood', [(-3.0, -0.55), (-1.2, -0.1), (-1.2, 0.3), (-3.0, 0.25)], 0.32),
    ('receiver', 'steel', [(-1.25, -0.15), (0.6, -0.15), (0.6, 0.35), (-1.25, 0.35)], 0.34),
    ('grip', 'wood', [(-0.95, -0.15), (-0.55, -0.15), (-0.75, -0.75), (-1.1, -0.7)], 0.28),
    ('magazine', 'steel', [(-0.35, -0.15), (0.15, -0.15), (0.45, -0.95), (0.0, -1.05)], 0.26),
    ('handguard', 'wood', [(0.6, -0.1), (1.6, -0.05), (1.6, 0.3), (0.6, 0.3)], 0.3),
    ('gas_tube', 'steel', [(1.6, 0.18), (2.3, 0.18), (2.3, 0.34), (1.6, 0.34)], 0.14),
    ('barrel', 'steel', [(1.6, 0.0), (3.0, 0.0), (3.0, 0.13), (1.6, 0.13)], 0.12),
    ('sight', 'steel', [(2.15, 0.13), (2.3, 0.13), (2.3, 0.45), (2.2, 0.45)], 0.08),
]


def rifle_texture():
    """Left half wood grain, right half blued steel."""
    size = TEXTURE_SIZE // 2
    rng = np.random.RandomState(51)
    rows = np.arange(size)[:, None]
    grain = 0.5 + 0.5 * np.sin(rows * 0.9 + rng.normal(0, 0.6, (size, size // 2)).cumsum(axis=1) * 0.2)
    wood = np.stack([120 + 50 * grain, 65 + 30 * grain, 30 + 15 * grain], axis=-1)
    steel = np.full((size, size // 2, 3), (55, 58, 65), np.float32)
    steel += rng.normal(0, 4, (size, size // 2))[..., None]
    pixels = np.concatenate([wood, steel], axis=1)
    return Image.fromarray(np.clip(pixels, 0, 255).astype(np.uint8))


def make_rifle(directory):
    mesh = Mesh()
    regions = {'wood': (0, 0, 0.5, 1), 'steel': (0.5, 0, 1, 1)}
    for group, material, outline, thickness in RIFLE_PARTS:
        mesh.part(group, material, FORMAT_VT, *extrude(outline, thickness, regions[material]))
    materials = [('wood', (1.0, 1.0, 1.0), 'ak47.tga'), ('steel', (1.0, 1.0, 1.0), 'ak47.tga')]
    save_model(directory, 'ak47', mesh, materials, {'ak47.tga': (rifle_texture(), False)})


# ----------------------------------------------------------------- bottle

BOTTLE_PROFILE = [(0.0, 0.0), (0.5, 0.0), (0.52, 0.08), (0.52, 1.5), (0.4, 1.85),
                  (0.18, 2.05), (0.17, 2.55)]
CAP_RING = [(0.2, 2.5), (0.2, 2.75), (0.0, 2.78)]


def bottle_texture():
    """Clear glass with a label round the middle of the bottle."""
    size = TEXTURE_SIZE
    picture = Image.new('RGB', (size, size), (190, 215, 225))
    draw = ImageDraw.Draw(picture)
    draw.rectangle((0, 125, size, 195), fill=(245, 240, 225))
    draw.rectangle((0, 129, size, 135), fill=(200, 30, 30))
    draw.rectangle((0, 185, size, 191), fill=(200, 30, 30))
    for x in (10, 138):
        draw.text((x, 141), 'ВОДКА', font=font(30), fill=(180, 20, 20))
    for x in range(0, size, 32):
        draw.line((x, 0, x + 6, 120), fill=(225, 240, 245), width=4)
    return picture.resize((size // 2, size // 2), Image.LANCZOS)


def make_bottle(directory):
    mesh = Mesh()
    # v runs from the base (v = 1) up to the neck (v = 0).
    mesh.part('glass', 'glass', FORMAT_VT, *lathe(BOTTLE_PROFILE, 20, (0, 1, 1, 0)))
    mesh.part('cap', 'cap', FORMAT_V, *lathe(CAP_RING, 12, (0, 0, 1, 1)))
    materials = [('glass', (1.0, 1.0, 1.0), 'vodka.tga'), ('cap', (0.85, 0.1, 0.1), WHITE_TEXTURE)]
    save_model(directory, 'vodka', mesh, materials, {'vodka.tga': (bottle_texture(), False),
                                                     WHITE_TEXTURE: (white_texture(), False)})


# ------------------------------------------------------------ apartments

BLOCK_SIZE = (2.0, 1.05, 0.42)  # length, height, depth
FLOORS, BAYS = 9, 16


def facade_texture():
    """A grid of windows over concrete panels; the bottom floor has doors."""
    size = TEXTURE_SIZE
    rng = np.random.RandomState(61)
    picture = Image.new('RGB', (size, size), (170, 168, 160))
    draw = ImageDraw.Draw(picture)
    cell_w, cell_h = size / BAYS, size / FLOORS
    for floor in range(FLOORS):
        y0 = floor * cell_h
        draw.line((0, y0, size, y0), fill=(130, 128, 122), width=1)
        for bay in range(BAYS):
            x0 = bay * cell_w
            if floor == FLOORS - 1 and bay % 4 == 1:
                draw.rectangle((x0 + 3, y0 + 6, x0 + cell_w - 3, y0 + cell_h), fill=(70, 50, 40))
                continue
            lit = rng.random_sample() < 0.3
            glass = (240, 210, 120) if lit else (60, 75, 95)
            draw.rectangle((x0 + 4, y0 + 7, x0 + cell_w - 4, y0 + cell_h - 8), fill=glass)
            draw.rectangle((x0 + 3, y0 + cell_h - 8, x0 + cell_w - 3, y0 + cell_h - 5),
                           fill=(120, 118, 112))
    return picture


def make_block(directory):
    mesh = Mesh()
    length, height, depth = BLOCK_SIZE
    lo, hi = (-length / 2, -height / 2, -depth / 2), (length / 2, height / 2, depth / 2)
    points, uvs, faces = box(lo, hi, (0, 0, 1, 1))
    walls = [faces[i] for i in range(4)]
    # The short end walls show a quarter of the facade's bays.
    uvs = [(u * 0.25, v) if 8 <= i < 16 else (u, v) for i, (u, v) in enumerate(uvs)]
    mesh.part('walls', 'panels', FORMAT_VT, points, uvs, walls)
    mesh.part('roof', 'roof', FORMAT_V, points, uvs, [faces[4], faces[5]])
    materials = [('panels', (1.0, 1.0, 1.0), 'panelka.tga'), ('roof', (0.45, 0.45, 0.45), None)]
    save_model(directory, 'panelka2', mesh, materials, {'panelka.tga': (facade_texture(), True)})


def make_models(directory):
    """Writes every model with its library and textures under models/."""
    models = os.path.join(directory, 'models')
    make_body(os.path.join(models, 'unicorn'))
    make_wheel(os.path.join(models, 'unicorn'))
    make_mushroom(os.path.join(models, 'mushroom_red'), (205, 25, 20), (250, 248, 240), 71)
    make_mushroom(os.path.join(models, 'mushroom_yellow'), (240, 205, 30), (150, 100, 30), 72)
    make_rifle(os.path.join(models, 'ak47'))
    make_bottle(os.path.join(models, 'vodka'))
    make_block(os.path.join(models, 'panelka2'))
