#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the program and the tests need and is missing.
# Idempotent: prints nothing and changes nothing when every package is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-mysql libgl-dev
  libsodium-dev libssl-dev libzip-dev libarchive-dev libxlsxwriter-dev iso-codes sqlite3 libsqlite3-dev mariadb-server libmariadb-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick unzip
  qt6-translations-l10n pandoc
  dpkg-dev fakeroot lintian file
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[[ $(id -u) -eq 0 ]] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
