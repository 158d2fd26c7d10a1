#!/usr/bin/env bash
# Makes the pictures of the user guide from the real windows (offscreen, generated data)
# and checks that every picture the guide uses was made.
#   scripts/screenshots.sh [--binary PATH] [--out FOLDER]
# Defaults: build-test/bin/guide_screenshots (cmake --build build-test --target
# guide_screenshots) and docs/podrecznik/obrazy. Rebuild the guide afterwards (the
# "podrecznik" target) to see them in it.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
binary="$here/build-test/bin/guide_screenshots"
out="$here/docs/podrecznik/obrazy"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --binary) binary=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done

# Every picture the guide shows.
pictures=(okno-glowne rekord-podatnika raport zapis-pdf drukowanie ustawienia o-programie logowanie operatorzy)

[[ -x "$binary" ]] || { echo "missing $binary: build the guide_screenshots target" >&2; exit 1; }
mkdir -p "$out"
for p in "${pictures[@]}"; do rm -f "$out/$p.png"; done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  QT_QPA_PLATFORM=offscreen EWIDAR_SCREENSHOTS="$out" \
  LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0" \
  "$binary" --gtest_also_run_disabled_tests --gtest_brief=1

missing=0
for p in "${pictures[@]}"; do
  f="$out/$p.png"
  if [[ ! -s "$f" ]] || [[ $(head -c 8 "$f" | od -An -tx1 | tr -d ' \n') != 89504e470d0a1a0a ]]; then
    echo "picture not made: $f" >&2
    missing=1
  fi
done
[[ $missing -eq 0 ]] && echo "${#pictures[@]} pictures in $out"
exit $missing
