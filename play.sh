#!/usr/bin/env bash
# Builds Gorvanka (Release, into build/) and starts it from the project root.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure_packages.sh
ensure_packages "${GAME_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target gorvanka
exec build/gorvanka "$@"
