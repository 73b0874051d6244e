#!/usr/bin/env bash
# Builds Gorvanka (Release, into build/) and starts it from the project root.
set -euo pipefail
cd "$(dirname "$0")"
if [ -z "${DISPLAY:-}" ]; then
  echo "Gorvanka needs a graphical display: none is set. Start it on a desktop, or set DISPLAY." >&2
  exit 1
fi
source tools/ensure_packages.sh
ensure_packages "${GAME_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target gorvanka
exec build/gorvanka "$@"
