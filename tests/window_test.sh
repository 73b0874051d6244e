#!/usr/bin/env bash
# The real game in a real window, through real X events: full screen, start-up lines, keys, a button, music (SDL's disk
# driver), Esc, the default settings written; the window's size from the settings file, or the command line. Every
# wait is on an event, with a long timeout. Usage: window_test.sh GAME_EXECUTABLE SOURCE_DIR
set -uo pipefail
game_exe=$1 source=$2
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; sed 's/^/  game: /' "$work/out.txt"; failures=$((failures + 1)); }
fire="IMA CHARGIN MAH LAZERS!"

# Polls a shell condition every 0.1 s for up to two minutes.
wait_for() { for _ in $(seq 1200); do eval "$1" && return 0; sleep 0.1; done; eval "$1"; }
printed() { [ "$(grep -cF -- "$1" "$work/out.txt")" -ge "${2:-1}" ]; }

# The window is looked for once the game is past start-up: a client connecting with it can make its connection fail.
mkdir "$work/game" && ln -s "$source/resources" "$source/shaders" "$work/game/" && cd "$work/game"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
ASAN_OPTIONS=detect_leaks=0 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/mix.raw" "$game_exe" >"$work/out.txt" 2>&1 &
pid=$!
wait_for 'printed "Linking shaders"' || { fail "the game did not start"; exit 1; }
wait_for 'window=$(xdotool search --onlyvisible --name "^Gorvanka$" 2>/dev/null | head -1); [ -n "$window" ]' ||
  { fail "no window"; exit 1; }
xdotool mousemove 800 450  # the pointer, and so keyboard focus, in the window
lines="Terrain Loaded|Ready for OpenGL 1.2|Vendor: |Renderer: |Version: |GLSL: |Loading shaders|Compiling shaders"
order=$(grep -oE "^($lines)" "$work/out.txt" | tr '\n' '|')
[ "$order" = "$lines|" ] || fail "start-up lines out of order: $order"
xdotool key F4
wait_for 'printed "Switched to bilinear texture sampling"' || fail "F4 did not reach the game"
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
[ $((screen_width * screen_height)) -gt $((1420 * 800)) ] || fail "the test screen is not larger than 1420 x 800"
[ "$WIDTH $HEIGHT" = "$screen_width $screen_height" ] || fail "window $WIDTH x $HEIGHT on a $screen_width x $screen_height screen"
# Held past the keyboard's repeat delay, space fires once; the next press and a click fire again.
xdotool keydown space
wait_for 'printed "$fire"' || fail "space did not fire"
sleep 1.5
xdotool keyup space key space
wait_for 'printed "$fire" 2' || fail "a second press did not fire"
xdotool click 1
wait_for 'printed "$fire" 3' || fail "the left button did not fire"
[ "$(grep -cF "$fire" "$work/out.txt")" -eq 3 ] || fail "a held space fired more than once"
loud() { sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/mix.raw" -n stat 2>&1 | awk '/Maximum amplitude/ { exit !($3 > 0.05) }'; }
wait_for loud || fail "no music from launch on the disk driver"
xdotool key Escape
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "Esc ended the game with status $status"
settings="$XDG_CONFIG_HOME/gorvanka/settings.ini"
grep -q "^# Gorvanka's settings" "$settings" || fail "no settings file with the defaults was written"

# The window of the settings file's size, unless the command line gives another; never larger than the screen.
windowed_size() {
  SDL_AUDIODRIVER=dummy "$game_exe" "$@" >"$work/out.txt" 2>&1 &
  pid=$!
  wait_for 'window=$(xdotool search --onlyvisible --name "^Gorvanka$" 2>/dev/null | head -1); [ -n "$window" ]' &&
    wait_for 'printed "Linking shaders"' && eval "$(xdotool getwindowgeometry --shell "$window")" && echo "$WIDTH $HEIGHT"
  kill "$pid"; wait "$pid" 2>/dev/null; pid=""
}
printf '[display]\nfullscreen = false\nwidth = 700\nheight = 500\n' >"$settings"
[ "$(windowed_size)" = "700 500" ] || fail "the settings file's window size was not taken"
[ "$(windowed_size --size 800x600)" = "800 600" ] || fail "the command line's window size did not win over the file's"
[ "$(windowed_size --size 4000x3000)" = "$screen_width $screen_height" ] || fail "a window larger than the screen"
[ "$failures" -eq 0 ] && echo "1 passed, 0 failed" || { echo "0 passed, 1 failed"; exit 1; }
