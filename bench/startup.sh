#!/usr/bin/env bash
# Time from launching the game to its first drawn frame, with the shipped data.
# Builds the Release game (build/, as play.sh does), starts a private Xvfb with a
# black root window and launches the game there several times; each run ends at
# the first screen grab that is no longer black. Prints every run and the median.
# Usage: bench/startup.sh [runs [build dir]]   (default 7 runs, build/)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
build=${2:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target gorvanka -j2 >/dev/null

work=$(mktemp -d)
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -br -screen 0 1420x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -n1 "$work/display")"

SDL_AUDIODRIVER=dummy /usr/bin/python3 - "$display" "$runs" "$build/gorvanka" <<'PY'
import ctypes
import os
import statistics
import subprocess
import sys
import tempfile
import time

display, runs, game = sys.argv[1], int(sys.argv[2]), sys.argv[3]
TIMEOUT_S = 30
# A grab counts as drawn when any sampled byte is brighter than this.
DRAWN_LEVEL = 16
SAMPLE_STEP = 97
Z_PIXMAP = 2
# A small grab from the middle of the screen every 2 ms or so: the
# first frame comes whole, and grabbing the whole screen without pause would
# take a processor from the game it is timing.
GRAB = (532, 300, 355, 200)
GRAB_PAUSE_S = 0.002


class XImage(ctypes.Structure):
    _fields_ = [('width', ctypes.c_int), ('height', ctypes.c_int), ('xoffset', ctypes.c_int),
                ('format', ctypes.c_int), ('data', ctypes.c_void_p), ('byte_order', ctypes.c_int),
                ('bitmap_unit', ctypes.c_int), ('bitmap_bit_order', ctypes.c_int),
                ('bitmap_pad', ctypes.c_int), ('depth', ctypes.c_int),
                ('bytes_per_line', ctypes.c_int)]


# One X connection for every grab: opening one per grab soon runs out of clients.
xlib = ctypes.CDLL('libX11.so.6')
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XGetImage.restype = ctypes.POINTER(XImage)
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
connection = xlib.XOpenDisplay(display.encode())
if not connection:
    sys.exit(f"startup: cannot open display {display}")
root = xlib.XDefaultRootWindow(connection)


def screen_drawn():
    image = xlib.XGetImage(connection, root, *GRAB, 0xFFFFFFFF, Z_PIXMAP)
    if not image:
        return False
    pixels = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * image.contents.height)
    xlib.XDestroyImage(image)
    return max(pixels[::SAMPLE_STEP]) > DRAWN_LEVEL


def one_run():
    env = dict(os.environ, DISPLAY=display)
    output = tempfile.TemporaryFile()
    start = time.monotonic()
    game_process = subprocess.Popen([os.path.abspath(game)], env=env,
                                    stdout=output, stderr=subprocess.STDOUT)
    try:
        while time.monotonic() - start < TIMEOUT_S:
            if game_process.poll() is not None:
                output.seek(0)
                sys.exit(f"startup: the game ended with status {game_process.returncode}:\n"
                         + output.read().decode(errors='replace'))
            if screen_drawn():
                return time.monotonic() - start
            time.sleep(GRAB_PAUSE_S)
        sys.exit("startup: no frame within %d s" % TIMEOUT_S)
    finally:
        game_process.kill()
        game_process.wait()
        time.sleep(0.5)  # let the X server drop the window before the next run


if screen_drawn():
    sys.exit("startup: the empty screen is not black")
times = [one_run() for _ in range(runs)]
for i, seconds in enumerate(times, 1):
    print(f"run {i}: {seconds * 1000:.0f} ms")
print(f"startup to first frame: median {statistics.median(times) * 1000:.0f} ms "
      f"over {runs} runs (min {min(times) * 1000:.0f}, max {max(times) * 1000:.0f})")
PY
