"""The game's BMP pictures and its heightmap.

Overlays, ground pictures, sky box faces and the height source. Each picture
is drawn upright and written with its rows in the order the game draws them.
"""
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFont

from assets_files import write_bmp, write_grey_tga
from world_extents import FINISH_LINE_Z, GROUND_HALF_SIZE, ROAD_HALF_WIDTH, ROAD_STRIP_HALF_WIDTH

FONT_DIR = '/usr/share/fonts/truetype/dejavu'
BOLD_FONT = os.path.join(FONT_DIR, 'DejaVuSans-Bold.ttf')
PLAIN_FONT = os.path.join(FONT_DIR, 'DejaVuSans.ttf')

# The overlay is laid out on the 1420 x 800 screen, then stored smaller; the
# game stretches it back over the whole screen.
SCREEN_SIZE = (1420, 800)
BANNER_SIZE = (512, 256)
HELP_SIZE = (1024, 512)
ICON_SIZE = 64

# A ground picture is two pictures side by side, each the road's whole length
# down its rows: on the left the strip |x| < ROAD_STRIP_HALF_WIDTH, where the
# driver reads the paint, 1.6 units a texel across; on the right the whole
# plane, 19.5 units a texel, of which the game shows what lies outside the
# strip (world/levels.cpp draws it so). 1.5 MB a level to read and upload.
GROUND_SIZE = (1024, 512)
GROUND_EXTENT = 2 * GROUND_HALF_SIZE

SKY_FACE_SIZE = 256
HEIGHTMAP_SIZE = 128


def font(size, bold=True):
    return ImageFont.truetype(BOLD_FONT if bold else PLAIN_FONT, size)


def smooth_noise(rng, shape, cells):
    """Value noise: a coarse random grid scaled up smoothly, values 0..1."""
    grid = rng.random_sample((cells[1], cells[0])).astype(np.float32)
    img = Image.fromarray(grid, mode='F').resize((shape[1], shape[0]), Image.BICUBIC)
    return np.clip(np.asarray(img), 0.0, 1.0)


def fractal_noise(rng, shape, octaves):
    total = np.zeros(shape, dtype=np.float32)
    weight_sum = 0.0
    for cells, weight in octaves:
        total += weight * smooth_noise(rng, shape, cells)
        weight_sum += weight
    return total / weight_sum


def to_bytes(pixels):
    return np.clip(np.rint(pixels), 0, 255).astype(np.uint8)


# ---------------------------------------------------------------- overlays

def vertical_gradient(top, bottom):
    w, h = SCREEN_SIZE
    t = np.linspace(0.0, 1.0, h, dtype=np.float32)[:, None, None]
    rows = np.asarray(top, np.float32) * (1 - t) + np.asarray(bottom, np.float32) * t
    return Image.fromarray(to_bytes(np.repeat(rows, w, axis=1)))


def centred_text(draw, y, text, size, fill, shadow=(0, 0, 0)):
    face = font(size)
    width = draw.textlength(text, font=face)
    x = (SCREEN_SIZE[0] - width) / 2
    draw.text((x + 4, y + 4), text, font=face, fill=shadow)
    draw.text((x, y), text, font=face, fill=fill)


def draw_star(draw, cx, cy, radius, fill):
    points = []
    for i in range(10):
        r = radius if i % 2 == 0 else radius * 0.4
        a = np.pi / 2 + i * np.pi / 5
        points.append((cx + r * np.cos(a), cy - r * np.sin(a)))
    draw.polygon(points, fill=fill)


def banner(title, lines, top, bottom, accent):
    image = vertical_gradient(top, bottom)
    draw = ImageDraw.Draw(image)
    draw.rectangle((0, 250, SCREEN_SIZE[0], 470), fill=tuple(c // 3 for c in bottom))
    draw_star(draw, 710, 130, 90, accent)
    centred_text(draw, 265, title, 170, (255, 255, 255))
    y = 520
    for text, size in lines:
        centred_text(draw, y, text, size, accent)
        y += size + 36
    return image


LEVEL_BANNERS = [
    ('level1.bmp', 'LEVEL 1', 'THE SUMMER ROAD', ((250, 200, 90), (150, 60, 20))),
    ('level2.bmp', 'LEVEL 2', 'THE WINTER ROAD', ((200, 225, 255), (40, 60, 120))),
    ('level3.bmp', 'LEVEL 3', 'THE ROAD AT DUSK', ((235, 160, 255), (50, 20, 70))),
]

HELP_LINES = [
    ('W', 'drive forward, faster while held'),
    ('S', 'brake, then reverse'),
    ('A  /  D', 'steer left  /  right'),
    ('RIGHT BUTTON', 'boost while held'),
    ('SPACE, LEFT BUTTON', 'fire the laser'),
    ('C', 'pull the camera back / in'),
    ('M', 'pause / resume the music'),
    ('HOME', 'start level / restart'),
    ('ESC', 'quit the game'),
    ('F1', 'show / hide this help'),
    ('F2', 'frame-rate read-out'),
    ('F3', 'wireframe on / off'),
    ('F4', 'smooth / sharp textures'),
    ('F5', 'mipmapping: off, nearest, linear'),
    ('F6', 'fog on / off'),
    ('F8', 'short / long view range'),
    ('F9', 'transparency off / on'),
]

PICKUP_LINES = [
    ((220, 40, 30), 'RED MUSHROOM', 'heals'),
    ((240, 210, 40), 'YELLOW MUSHROOM', 'poison: hurts'),
    ((150, 100, 60), 'RIFLE', 'one laser charge'),
    ((170, 210, 230), 'BOTTLE', 'boost points'),
]
HELP_TEXT_SIZE = 31
HELP_LINE_HEIGHT = 38
HELP_LEFT = 70
HELP_RIGHT_COLUMN = 1020


def help_picture():
    image = vertical_gradient((20, 30, 50), (5, 5, 15))
    draw = ImageDraw.Draw(image)
    centred_text(draw, 14, 'GORVANKA  -  CONTROLS', 62, (255, 210, 80))
    key_face, text_face = font(HELP_TEXT_SIZE), font(HELP_TEXT_SIZE, bold=False)
    key_width = max(draw.textlength(key, font=key_face) for key, _ in HELP_LINES) + 36
    y = 100
    for key, text in HELP_LINES:
        draw.text((HELP_LEFT, y), key, font=key_face, fill=(255, 210, 80))
        draw.text((HELP_LEFT + key_width, y), text, font=text_face, fill=(235, 235, 235))
        y += HELP_LINE_HEIGHT
    x0 = HELP_RIGHT_COLUMN
    draw.line((x0 - 30, 110, x0 - 30, 740), fill=(90, 100, 130), width=3)
    draw.text((x0, 100), 'PICKUPS', font=font(36), fill=(255, 210, 80))
    y = 160
    for colour, name, text in PICKUP_LINES:
        draw.ellipse((x0, y + 4, x0 + 30, y + 34), fill=colour)
        draw.text((x0 + 45, y), name, font=font(28), fill=(255, 255, 255))
        draw.text((x0 + 45, y + 36), text, font=font(28, bold=False), fill=(210, 210, 210))
        y += 92
    y += 20
    draw.text((x0, y), 'GOAL', font=font(36), fill=(255, 210, 80))
    for line in ['Stay on the road:', 'leaving it ends', 'the game. Reach', 'the far end to',
                 'win the level.']:
        y += 40
        draw.text((x0, y), line, font=font(28, bold=False), fill=(235, 235, 235))
    return image


def raygun_icon():
    size = 400
    image = Image.new('RGB', (size, size), (30, 20, 40))
    draw = ImageDraw.Draw(image)
    draw.ellipse((8, 8, size - 8, size - 8), fill=(60, 40, 80), outline=(255, 220, 90), width=14)
    draw.polygon([(70, 150), (260, 150), (300, 120), (330, 150), (330, 210), (70, 210)],
                 fill=(200, 205, 215))
    for x in (110, 150, 190):
        draw.rectangle((x, 135, x + 18, 225), fill=(230, 60, 40))
    draw.polygon([(100, 210), (170, 210), (150, 320), (90, 320)], fill=(120, 70, 40))
    draw.ellipse((300, 140, 360, 220), fill=(120, 255, 140))
    return image


def save_overlay(directory, name, image, size):
    """Stored top row first: the game lays the first stored row along the top."""
    small = image.resize(size, Image.LANCZOS)
    write_bmp(os.path.join(directory, name), np.asarray(small))


def save_icon(directory, image):
    """The icon is drawn with its columns running down the screen and its
    stored rows to the right, so the file holds the upright picture transposed."""
    small = image.resize((ICON_SIZE, ICON_SIZE), Image.LANCZOS)
    write_bmp(os.path.join(directory, 'raygun.bmp'), np.asarray(small).transpose(1, 0, 2))


def make_overlays(directory):
    for name, title, subtitle, (accent, bottom) in LEVEL_BANNERS:
        top = tuple(min(255, c + 60) for c in bottom)
        image = banner(title, [(subtitle, 60), ('PRESS HOME TO START', 64)], top, bottom, accent)
        save_overlay(directory, name, image, BANNER_SIZE)
    game_over = banner('GAME OVER', [('YOU LEFT THE ROAD OR RAN OUT OF HEALTH', 44),
                                     ('PRESS HOME TO RESTART', 64)],
                       (90, 20, 20), (20, 0, 0), (255, 90, 60))
    save_overlay(directory, 'gameover.bmp', game_over, BANNER_SIZE)
    victory = banner('VICTORY!', [('ALL THREE ROADS DRIVEN', 60),
                                  ('HOME: DRIVE ON     ESC: QUIT', 56)],
                     (250, 220, 120), (170, 30, 30), (255, 240, 150))
    save_overlay(directory, 'victory.bmp', victory, BANNER_SIZE)
    save_overlay(directory, 'help.bmp', help_picture(), HELP_SIZE)
    save_icon(directory, raygun_icon())


# ---------------------------------------------------------- ground pictures

GROUND_STYLES = {
    # field colours (two, mixed by noise), shoulder, asphalt, line paint. The
    # scene's lights are red and yellow, so the paint must stand out from the
    # asphalt in red and green alone: light paint on dark asphalt.
    'terrain1.bmp': dict(seed=11, fields=((150, 160, 60), (200, 175, 90)),
                         shoulder=(170, 140, 100), asphalt=(55, 55, 60), paint=(250, 250, 240)),
    'terrain2.bmp': dict(seed=12, fields=((235, 240, 250), (200, 210, 230)),
                         shoulder=(225, 225, 235), asphalt=(70, 72, 80), paint=(255, 215, 60)),
    'terrain3.bmp': dict(seed=13, fields=((80, 60, 70), (120, 70, 50)),
                         shoulder=(150, 90, 60), asphalt=(35, 33, 42), paint=(255, 190, 80)),
}
# World units from the road's centre line (x) and along the road (z). The driver
# sits 17 up, so the centre dashes pass under the car and the edge lines show
# from about 300 units ahead; dashed lane lines halfway out pass beside the car.
SHOULDER_WIDTH = 90.0
EDGE_LINE = (212.0, 240.0)
LANE_LINE = (118.0, 132.0)
CENTRE_LINE_HALF = 5.0
DASH_LENGTH = 80.0
LANE_DASH_LENGTH = 60.0


def dashed(Z, length):
    return np.mod(Z, 2 * length) < length


def ground_texture_s(x):
    """Texture s of world x on the ground plane, as the game draws it."""
    strip = np.abs(x) < ROAD_STRIP_HALF_WIDTH
    return np.where(strip, 0.25 + 0.25 * x / ROAD_STRIP_HALF_WIDTH, 0.75 + 0.5 * x / GROUND_EXTENT)


def paint_road(pixels, X, Z, style, wear, grain):
    """Shoulders, asphalt and its paint over the fields, where they lie."""
    ax = np.abs(X)
    pixels[ax < ROAD_HALF_WIDTH + SHOULDER_WIDTH] = style['shoulder']
    road = ax < ROAD_HALF_WIDTH
    pixels[road] = np.asarray(style['asphalt'], np.float32) * wear[road][:, None]
    pixels += (grain * np.where(road, 10.0, 30.0))[..., None]
    paint = np.asarray(style['paint'], np.float32)
    pixels[(ax > EDGE_LINE[0]) & (ax < EDGE_LINE[1])] = paint
    pixels[(ax > LANE_LINE[0]) & (ax < LANE_LINE[1]) & dashed(Z, LANE_DASH_LENGTH)] = paint
    pixels[(ax < CENTRE_LINE_HALF) & dashed(Z, DASH_LENGTH)] = paint
    add_checker_band(pixels, X, Z, FINISH_LINE_Z)
    return to_bytes(pixels)


def ground_picture(style):
    rng = np.random.RandomState(style['seed'])
    width, height = GROUND_SIZE[0] // 2, GROUND_SIZE[1]
    centres = (np.arange(width) + 0.5) / width
    plane_x = centres * GROUND_EXTENT - GROUND_EXTENT / 2
    strip_x = (centres * 2 - 1) * ROAD_STRIP_HALF_WIDTH
    z = (np.arange(height) + 0.5) / height * GROUND_EXTENT - GROUND_EXTENT / 2
    mix = fractal_noise(rng, (height, width), [((8, 32), 1.0), ((32, 128), 0.5)])
    fields = [np.asarray(c, np.float32) for c in style['fields']]
    plane = fields[0] * (1 - mix[..., None]) + fields[1] * mix[..., None]
    # Ploughed strips across the fields, every 400 units.
    plane *= (1.0 + 0.08 * np.sin(z / 400.0 * 2 * np.pi))[:, None, None]
    # The strip's fields continue the plane's, read between its texels.
    column = (strip_x + GROUND_EXTENT / 2) / GROUND_EXTENT * width - 0.5
    left = np.floor(column).astype(int)
    weight = (column - left)[None, :, None]
    strip = plane[:, left] * (1 - weight) + plane[:, left + 1] * weight
    halves = []
    for pixels, x in ((strip, strip_x), (plane.copy(), plane_x)):
        X, Z = np.meshgrid(x, z)
        # Lightly worn asphalt, even enough that the paint reads against it, and grain.
        wear = 0.9 + 0.2 * fractal_noise(rng, (height, width), [((64, 128), 1.0), ((256, 256), 0.6)])
        grain = fractal_noise(rng, (height, width), [((256, 256), 1.0)]) - 0.5
        halves.append(paint_road(pixels, X, Z, style, wear, grain))
    return np.concatenate(halves, axis=1)


def add_checker_band(pixels, X, Z, centre_z):
    square = 60.0
    band = (np.abs(Z - centre_z) < square) & (np.abs(X) < ROAD_HALF_WIDTH)
    checker = (np.floor(X / square) + np.floor((Z - centre_z) / square)) % 2 == 0
    pixels[band & checker] = (250, 250, 250)
    pixels[band & ~checker] = (20, 20, 20)


def make_ground_pictures(directory):
    """Row 0 (first stored) lies at z = -5000, the far end of the road."""
    for name, style in GROUND_STYLES.items():
        write_bmp(os.path.join(directory, name), ground_picture(style))


# -------------------------------------------------------------------- sky

# Corner table of the sky box drawing: (s, t) -> (x, y, z) for corners at
# (0,0), (1,0), (0,1) of each face; the fourth follows because faces are flat.
SKY_FACES = {
    'YP.bmp': ((-1, 1, -1), (-1, 1, 1), (1, 1, -1)),
    'YN.bmp': ((-1, -1, -1), (-1, -1, 1), (1, -1, -1)),
    'XN.bmp': ((-1, -1, -1), (-1, -1, 1), (-1, 1, -1)),
    'XP.bmp': ((1, -1, -1), (1, -1, 1), (1, 1, -1)),
    'ZN.bmp': ((-1, -1, -1), (1, -1, -1), (-1, 1, -1)),
    'ZP.bmp': ((-1, -1, 1), (1, -1, 1), (-1, 1, 1)),
}
MEADOW = (90.0, 170.0, 70.0)
MEADOW_ELEVATION = 0.1  # radians below the horizon where the haze has gone
SUN_DIRECTION = np.array([0.35, 0.28, -1.0]) / np.linalg.norm([0.35, 0.28, -1.0])


def face_directions(corners, size):
    """Unit directions of the texels of a face; edge texels lie exactly on
    the cube's edges so neighbouring faces agree there."""
    origin, s_corner, t_corner = (np.asarray(c, np.float64) for c in corners)
    s = np.linspace(0.0, 1.0, size)[None, :, None]
    t = np.linspace(0.0, 1.0, size)[:, None, None]
    points = origin + s * (s_corner - origin) + t * (t_corner - origin)
    return points / np.linalg.norm(points, axis=2, keepdims=True)


def sky_noise(d, seed, waves, scale):
    rng = np.random.RandomState(seed)
    total = np.zeros(d.shape[:-1])
    for i in range(waves):
        k = rng.normal(size=3) * scale * (1.0 + i * 0.35)
        total += np.sin(d @ k + rng.uniform(0, 2 * np.pi)) / (1.0 + i * 0.35)
    return total / np.sqrt(waves)


def sky_colour(d):
    x, y, z = d[..., 0], d[..., 1], d[..., 2]
    up = np.clip(y, 0.0, 1.0)[..., None]
    horizon = np.array([235.0, 215.0, 190.0])
    zenith = np.array([50.0, 95.0, 185.0])
    colour = horizon + (zenith - horizon) * np.sqrt(up)
    # Clouds on a flat layer overhead, thinning towards the horizon.
    plane = d / (np.abs(y)[..., None] + 0.12)
    clouds = np.clip(sky_noise(plane * 0.6, 5, 24, 1.2) * 0.9 + 0.1, 0.0, 1.0)
    clouds *= np.clip((y - 0.02) * 8.0, 0.0, 1.0)
    colour += (np.array([250.0, 248.0, 245.0]) - colour) * clouds[..., None] * 0.85
    glow = np.clip(d @ SUN_DIRECTION, 0.0, 1.0)
    colour += np.array([255.0, 220.0, 150.0]) * (glow ** 40)[..., None] * 0.6
    colour[d @ SUN_DIRECTION > 0.9985] = (255, 250, 225)
    # Distant hills around the horizon, periodic in the azimuth.
    azimuth = np.arctan2(x, z)
    ridge = 0.035 + 0.02 * np.sin(3 * azimuth + 1.0) + 0.012 * np.sin(7 * azimuth + 2.0) \
        + 0.006 * np.sin(17 * azimuth + 0.5)
    elevation = np.arcsin(np.clip(y, -1.0, 1.0))
    hills = (elevation < ridge) & (elevation >= 0.0)
    shade = (0.85 + 0.15 * np.sin(29 * azimuth))[..., None]
    colour = np.where(hills[..., None], np.array([105.0, 125.0, 115.0]) * shade, colour)
    # Below the horizon: haze just under it, then meadow green. The ground
    # plane hides all but the haze; the terrain patch, drawn straight after
    # the sky, takes its colour from the texel at the bottom corner of ZP.
    below = elevation < 0.0
    depth = np.clip(-elevation / MEADOW_ELEVATION, 0.0, 1.0)[..., None]
    ground = np.array([150.0, 140.0, 110.0]) * (1 - depth) + np.array(MEADOW) * depth
    return np.where(below[..., None], ground, colour)


def make_sky(directory):
    """Face texel (row t, column s) shows the direction its corner table
    puts there; row 0 is stored first, which is texture t = 0."""
    for name, corners in SKY_FACES.items():
        rows = to_bytes(sky_colour(face_directions(corners, SKY_FACE_SIZE)))
        write_bmp(os.path.join(directory, name), rows)


# --------------------------------------------------------------- heightmap

def make_heightmap(directory):
    """Rolling hills round a broad rise in the middle of the patch, so the
    terrain stands up from the road at the horizon; 8-bit grey (type 3)."""
    rng = np.random.RandomState(21)
    size = HEIGHTMAP_SIZE
    hills = fractal_noise(rng, (size, size), [((4, 4), 1.0), ((9, 9), 0.45),
                                              ((24, 24), 0.15), ((64, 64), 0.05)])
    u = np.linspace(-1.0, 1.0, size)
    U, V = np.meshgrid(u, u)
    rise = np.exp(-(U ** 2 + V ** 2) * 2.5)
    heights = 0.45 * hills + rise
    heights = (heights - heights.min()) / (heights.max() - heights.min())
    rows = to_bytes(20.0 + heights * 215.0)
    write_grey_tga(os.path.join(directory, 'vorlane.tga'), rows)
