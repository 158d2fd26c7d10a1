#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on its default (SQLite) database.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEWIDAR_TESTS=OFF >/dev/null
cmake --build build
exec ./build/bin/Ewidar "$@"
