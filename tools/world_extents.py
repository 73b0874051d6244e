"""The world's extents, read from the game's own header, player/world_extents.h,
so the pictures lay the road out where the game drives it."""
import os
import re

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'player', 'world_extents.h')


def read_extents(path=HEADER):
    """{name: value} for every `const float kName = value;` in the header."""
    with open(path) as header:
        text = header.read()
    return {name: float(value) for name, value in re.findall(r'const float (k\w+) = (-?[\d.]+)f;', text)}


EXTENTS = read_extents()
ROAD_HALF_WIDTH = EXTENTS['kRoadHalfWidth']
FINISH_LINE_Z = EXTENTS['kFinishLineZ']
START_Z = EXTENTS['kStartZ']
GROUND_HALF_SIZE = EXTENTS['kGroundHalfSize']
ROAD_STRIP_HALF_WIDTH = EXTENTS['kRoadStripHalfWidth']
