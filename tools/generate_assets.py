#!/usr/bin/python3
"""Writes every data file the game reads (pictures, models, sounds).

Usage: tools/generate_assets.py [OUTPUT_DIR]   (default: resources/ of the repository)

The output is the same byte for byte on every run: fixed seeds, no dates.
"""
import os
import sys

sys.dont_write_bytecode = True  # keep tools/ free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assets_icons import make_icons  # noqa: E402
from assets_models import make_models  # noqa: E402
from assets_pictures import make_ground_pictures, make_heightmap, make_overlays, make_sky  # noqa: E402
from assets_sounds import make_sounds  # noqa: E402

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main():
    directory = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REPO_ROOT, 'resources')
    os.makedirs(directory, exist_ok=True)
    make_overlays(directory)
    make_ground_pictures(directory)
    make_sky(directory)
    make_heightmap(directory)
    make_models(directory)
    make_icons(directory)
    make_sounds(directory)


if __name__ == '__main__':
    main()
