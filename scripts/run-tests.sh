#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DEWIDAR_SANITIZE=ON -DEWIDAR_TESTS=ON >/dev/null
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2
