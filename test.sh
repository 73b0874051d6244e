#!/usr/bin/env bash
# Builds the test build (build-test/, AddressSanitizer + UBSan) and the fuzzers
# (build-fuzz/, clang), starts a private Xvfb and runs the whole suite with ctest.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure_packages.sh
ensure_packages "${GAME_PACKAGES[@]}" googletest libgtest-dev xvfb xauth xdotool imagemagick \
  sox libsox-fmt-mp3 lame python3-pil python3-numpy fonts-dejavu-core clang-14 libclang-rt-14-dev libtinyobjloader-dev \
  desktop-file-utils file appstream dpkg-dev x11-utils

jobs=$(nproc)
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGORVANKA_SANITIZE=ON \
  -DGORVANKA_TESTS=ON -DGORVANKA_BENCH=ON >/dev/null
cmake --build build-test -j"$jobs"
cmake -S tests/fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz -j"$jobs"

xvfb_pid=""
stop_xvfb() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; true; }
trap stop_xvfb EXIT
display_file=$(mktemp)
# -noreset: an X server resets when its last client leaves, and refuses new
# connections meanwhile; the game's own display check is such a client.
Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"
echo "Xvfb on $DISPLAY (pid $xvfb_pid)"

set +e
(cd build-test && ctest --output-on-failure -j"$jobs" "$@")
status=$?
exit $status
