#!/usr/bin/env bash
# The game installed below a temporary prefix and from its Debian package (its dependencies): the layout, desktop entry
# and metainfo, the entry's command run with a desktop's PATH, the window's class; through a link, with ALSA pointed
# nowhere; without a display, one plain line, yet answers to --help, --version and a bad option.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1 source=$2
work=$(mktemp -d)
game=""
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
app=org.example.gorvanka
desktop_path=/usr/local/bin:/usr/bin:/bin:/usr/games

# The desktop entry, which must name the window's class, and the metainfo, which must name the entry, below a prefix.
check_desktop_files() {
  local entry=$1/share/applications/$app.desktop
  desktop-file-validate "$entry" || fail "the desktop entry below $1 does not validate"
  grep -qx "StartupWMClass=Gorvanka" "$entry" || fail "the desktop entry below $1 names no window class"
  appstreamcli validate-tree --no-net "$1" >"$work/appstream.txt" ||
    fail "the metainfo below $1 does not validate: $(grep -E '^ *[EW]:' "$work/appstream.txt" | tr -s ' \n' ' ')"
}

# The entry's command as a desktop splits it, for a game installed into ROOT with PREFIX: the launcher's full path (a
# desktop's PATH has no ~/.local), looked up below ROOT.
desktop_command() {
  local root=$1 prefix=$2 exec
  exec=$(sed -n 's/^Exec=//p' "$root$prefix/share/applications/$app.desktop" | sed 's/\\\\/\\/g')
  eval "command=($exec)"
  [ "${command[0]}" = "$prefix/games/gorvanka" ] || fail "the desktop entry below $root$prefix runs ${command[0]}"
  command[0]=$root${command[0]}
}

# Runs a command line in FOLDER until it says LAST (bounded), checks its start-up lines, window and class, and that a
# plain kill ends it. Usage: play FOLDER LAST COMMAND...
play() {
  local folder=$1 last=$2
  shift 2
  (cd "$folder" && exec "$@") >"$work/out.txt" 2>"$work/err.txt" &
  game=$!
  for _ in $(seq 200); do
    grep -qs "$last" "$work/out.txt" && break
    kill -0 "$game" 2>/dev/null && sleep 0.1 || break
  done
  window=$(xdotool search --onlyvisible --name '^Gorvanka$' | head -1)
  [ -n "$window" ] || fail "no window from $*"
  for line in "Terrain Loaded" "Ready for OpenGL 1.2" "$last"; do
    grep -q "$line" "$work/out.txt" || fail "$* did not say \"$line\""
  done
  [ -z "$window" ] || [ "$(xprop -id "$window" WM_CLASS)" = 'WM_CLASS(STRING) = "gorvanka", "Gorvanka"' ] ||
    fail "window class: $(xprop -id "$window" WM_CLASS)"
  kill "$game"
  for _ in $(seq 100); do kill -0 "$game" 2>/dev/null && sleep 0.1; done
  kill -0 "$game" 2>/dev/null && fail "SIGTERM did not end $*"
  game=""
}

# The package, where the Debian tools are: cpack brings the build up to date and stages it with prefix /usr.
if command -v dpkg-deb >/dev/null; then
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.txt" 2>&1 ||
    fail "cpack -G DEB: $(cat "$work/cpack.txt")"
  deb=$(ls "$work"/package/gorvanka_*.deb)
  # Sanitizer libraries may come on top of these.
  depends=$(dpkg-deb -f "$deb" Depends | sed -E 's/ *\([^)]*\)//g; s/ *[,|] */\n/g')
  for library in "libgl1|libopengl0" libglu1 libglut libglew libsdl2-2.0 libsdl2-mixer libx11-; do
    grep -qE "^($library)" <<<"$depends" || fail "the package does not depend on $library: $depends"
  done
  dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
  check_desktop_files "$work/root/usr"
  desktop_command "$work/root" /usr
  play / "Linking shaders" env PATH=$desktop_path SDL_AUDIODRIVER=dummy "${command[@]}"
fi

cmake --install "$build" --prefix "$work/usr" >/dev/null || fail "cmake --install"
cd "$work/usr"
data=share/games/gorvanka
for file in $data/shaders/gorvanka.vert $data/shaders/gorvanka.frag $data/resources/vorlane.tga \
    $data/resources/audio/katyusha.mp3 $data/resources/models/unicorn/body.obj; do
  [ -f "$file" ] || fail "$file is not installed"
done
[ -x games/gorvanka ] && [ -x games/gorvanka-bin ] || fail "no launcher or game in games/"
[ -e $data/resources/icons ] && fail "the icons are installed among the game's data"
for size in 48 128 256; do
  file share/icons/hicolor/${size}x$size/apps/gorvanka.png | grep -q "PNG image data, $size x $size" || fail "no $size icon"
done
check_desktop_files "$work/usr"
desktop_command "" "$work/usr"
play / "Linking shaders" env PATH=$desktop_path SDL_AUDIODRIVER=dummy "${command[@]}"

mkdir "$work/elsewhere" && ln -s "$work/usr/games/gorvanka" "$work/elsewhere/gorvanka"
play "$work/elsewhere" "No sound device" env SDL_AUDIODRIVER=alsa AUDIODEV=no-such-device ./gorvanka
grep -q "ALSA lib" "$work/err.txt" && fail "ALSA's own lines on standard error"

# Without a display the launcher and play.sh say one plain line; the game still answers its options (- lines: any).
cd "$work/elsewhere"
while read -r want lines says command; do
  said=$(env -u DISPLAY $command 2>&1 </dev/null)
  status=$?
  [ "$status" -eq "$want" ] && grep -q -- "$says" <<<"$said" && [ "$lines" = - -o "$(wc -l <<<"$said")" = "$lines" ] ||
    fail "without a display $command said (status $status): $said"
done <<EOF
1 1 graphical.display ./gorvanka
1 1 graphical.display $source/play.sh
0 - Usage:.gorvanka ./gorvanka --help
0 - ^Gorvanka.[0-9] ./gorvanka --version
2 - "--no-such-option" ./gorvanka --no-such-option
EOF
[ "$failures" -eq 0 ] || { cat "$work/out.txt" "$work/err.txt"; exit 1; }
echo "installed game: all checks passed"
