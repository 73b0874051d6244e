#!/usr/bin/env bash
# Drives the real game (the AddressSanitizer build from ./test.sh) for a while:
# levels, pickups, boosts, deaths and restarts, every toggle. Reports resident
# memory and live GL textures shortly after start and at the end.
# Usage: bench/soak.sh [seconds]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."
duration=${1:-600}
game=build-test/gorvanka
[ -x "$game" ] || { echo "build the test build first (./test.sh)"; exit 1; }

work=$(mktemp -d)
trap 'kill $game_pid $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
cp -r resources shaders "$work/"
cc -shared -fPIC -O2 -o "$work/libtexcount.so" bench/gl_texture_counter.c -ldl -lGL

Xvfb -displayfd 3 -screen 0 1420x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

(cd "$work" && GORVANKA_TEXTURE_COUNT_FILE="$work/textures" SDL_AUDIODRIVER=dummy \
  ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0 LD_PRELOAD="$work/libtexcount.so" \
  exec "$OLDPWD/$game" >"$work/out.txt" 2>&1) &
game_pid=$!
for _ in $(seq 200); do
  wid=$(xdotool search --name '^Gorvanka$' 2>/dev/null | head -n1) && [ -n "$wid" ] && break
  sleep 0.1
done
xdotool mousemove --window "$wid" 710 400

rss() { awk '/VmRSS/ {print $2}' "/proc/$game_pid/status"; }
textures() { cat "$work/textures" 2>/dev/null || echo 0; }
press() { xdotool key --window "$wid" "$@"; }

# One round: start (or restart), drive with boost and some steering, fire,
# toggle everything twice; every third round steer off the road to die.
round() {
  press Home; sleep 0.5; press Home
  xdotool keydown --window "$wid" w; xdotool mousedown --window "$wid" 3
  for key in F1 F1 F2 F3 F3 F4 F5 F6 F8 F8 F9 F9 c c m m space; do press "$key"; sleep 0.3; done
  if (( $1 % 3 == 2 )); then
    xdotool keydown --window "$wid" a; sleep 6; xdotool keyup --window "$wid" a
  else
    for _ in 1 2 3; do press d; sleep 2; press a; sleep 2; done
  fi
  xdotool mouseup --window "$wid" 3; xdotool keyup --window "$wid" w
  sleep 1
}

sleep 5
start_rss=$(rss); start_textures=$(textures)
end=$((SECONDS + duration)); n=0
while (( SECONDS < end )); do round $n; n=$((n + 1)); done
end_rss=$(rss); end_textures=$(textures)
press Escape; wait "$game_pid" || true

echo "rounds: $n in ${duration}s"
echo "pickups taken: $(grep -c 'Powerup' "$work/out.txt" || true)"
echo "resident memory: start ${start_rss} kB, end ${end_rss} kB"
echo "live GL textures: start ${start_textures}, end ${end_textures}"
