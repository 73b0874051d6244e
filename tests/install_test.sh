#!/usr/bin/env bash
# The installed game: the layout below a temporary prefix and its desktop entry; the launcher started through a
# link in another folder, with ALSA pointed at a device that does not exist (one line about it, no ALSA noise, and a
# plain kill still ends it); one plain line from the game and play.sh without a display, where the game still
# answers --help, --version and a bad option.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1 source=$2
work=$(mktemp -d)
game=""
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$work/usr" >/dev/null || fail "cmake --install"
cd "$work/usr"
data=share/games/gorvanka
for file in $data/shaders/gorvanka.vert $data/shaders/gorvanka.frag $data/resources/vorlane.tga \
    $data/resources/audio/katyusha.mp3 $data/resources/models/unicorn/body.obj share/applications/gorvanka.desktop; do
  [ -f "$file" ] || fail "$file is not installed"
done
[ -x games/gorvanka ] && [ -x games/gorvanka-bin ] || fail "no launcher or game in games/"
[ -e $data/resources/icons ] && fail "the icons are installed among the game's data"
for size in 48 128 256; do
  file share/icons/hicolor/${size}x$size/apps/gorvanka.png | grep -q "PNG image data, $size x $size" || fail "no $size icon"
done
desktop-file-validate share/applications/gorvanka.desktop || fail "the desktop entry does not validate"

mkdir "$work/elsewhere" && ln -s "$work/usr/games/gorvanka" "$work/elsewhere/gorvanka" && cd "$work/elsewhere"
SDL_AUDIODRIVER=alsa AUDIODEV=no-such-device ./gorvanka >out.txt 2>err.txt &
game=$!
for _ in $(seq 120); do
  grep -q "No sound device" out.txt && xdotool search --onlyvisible --name '^Gorvanka$' >/dev/null && break
  kill -0 "$game" 2>/dev/null && sleep 0.5 || break
done
xdotool search --onlyvisible --name '^Gorvanka$' >/dev/null || fail "no window"
for line in "Terrain Loaded" "Ready for OpenGL 1.2" "No sound device"; do
  grep -q "$line" out.txt || fail "the game did not say \"$line\""
done
grep -q "ALSA lib" err.txt && fail "ALSA's own lines on standard error"
kill "$game"
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null && sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "SIGTERM did not end the game"

for launcher in ./gorvanka "$source/play.sh"; do
  said=$(env -u DISPLAY "$launcher" 2>&1)
  status=$?
  [ "$status" -eq 1 ] && [ "$(wc -l <<<"$said")" -eq 1 ] && grep -q "graphical display" <<<"$said" ||
    fail "without a display $launcher said (status $status): $said"
done
while read -r expected option answer; do
  said=$(env -u DISPLAY ./gorvanka "$option" 2>&1 </dev/null)
  status=$?
  [ "$status" -eq "$expected" ] && grep -q -- "$answer" <<<"$said" ||
    fail "without a display ./gorvanka $option said (status $status): $said"
done <<'EOF'
0 --help Usage: gorvanka
0 --version ^Gorvanka [0-9]
2 --no-such-option "--no-such-option"
EOF
[ "$failures" -eq 0 ] || { cat out.txt err.txt; exit 1; }
echo "installed game: all checks passed"
