"""The desktop icon: the game's own car, as the chase camera sees it.

make_icons(directory) writes icons/gorvanka-SIZE.png for the hicolor sizes the
desktop entry needs. It draws the car from the model files already written to
directory, so it runs after the models.
"""
import os

import numpy as np
from PIL import Image, ImageDraw

from make_contact_sheet import chase_view

ICON_SIZES = (48, 128, 256)
VIEW_SIZE = (2840, 1600)  # four times the contact sheet's view, for clean edges
MARGIN = 0.12             # of the car's larger side, left free around it
CORNER_RADIUS = 0.18      # of the icon's side


def car_square(view):
    """The square around the car: the pixels that are neither sky nor road."""
    pixels = np.asarray(view).astype(int)
    backdrop = (pixels == pixels[0, 0]).all(axis=-1) | (pixels == pixels[-1, 0]).all(axis=-1)
    rows, cols = np.nonzero(~backdrop)
    centre_x, centre_y = (cols.min() + cols.max()) // 2, (rows.min() + rows.max()) // 2
    half = int(max(cols.max() - cols.min(), rows.max() - rows.min()) * (0.5 + MARGIN))
    return centre_x - half, centre_y - half, centre_x + half, centre_y + half


def make_icons(directory):
    view = chase_view(directory, *VIEW_SIZE)
    square = view.crop(car_square(view)).convert('RGBA')
    side = square.size[0]
    mask = Image.new('L', square.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, side - 1, side - 1), int(side * CORNER_RADIUS), fill=255)
    square.putalpha(mask)
    os.makedirs(os.path.join(directory, 'icons'), exist_ok=True)
    for size in ICON_SIZES:
        square.resize((size, size), Image.LANCZOS).save(os.path.join(directory, 'icons', f'gorvanka-{size}.png'))
