#!/usr/bin/env bash
# Builds the Debian package ewidar_<version>_amd64.deb: a release build of the program,
# its libraries, the import tool and the guide in build-pkg (tests off), then CPack,
# then lintian (errors fail the script). The package lands in build-pkg/.
#   scripts/package.sh [BUILD_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-pkg}
"$here/scripts/install-deps.sh"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DEWIDAR_TESTS=OFF -DEWIDAR_SANITIZE=OFF
cmake --build "$build"
rm -f "$build"/ewidar_*_amd64.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/ewidar_*_amd64.deb)
echo "package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
if command -v lintian >/dev/null; then
  lintian --fail-on error --info "$deb"
fi
