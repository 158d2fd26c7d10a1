#!/usr/bin/env bash
# Packs the build tree given as $1 with CPack (DEB, unstripped: only the contents matter)
# and checks the package: every file it must carry and nothing beside them, dependencies
# from the binaries plus iso-codes, the menu entry, the launchers and the programs'
# RPATH. Exit 77 (skipped) when the packaging tools are missing.
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps readelf; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" -D CPACK_STRIP_FILES=OFF -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/ewidar_*_amd64.deb)
fail=0
problem() { echo "FAIL: $*"; fail=1; }

# The file list: exactly these, plus the guide's pages and pictures.
expected=(
  ./usr/bin/ewidar ./usr/bin/Kwadrel2015Import ./usr/bin/ewidar-wykaz-vat
  ./usr/lib/ewidar/Ewidar ./usr/lib/ewidar/Kwadrel2015Import ./usr/lib/ewidar/ewidar-wykaz-vat
  ./usr/lib/ewidar/QuorDataBase.so ./usr/lib/ewidar/QuorDataBaseSQL.so
  ./usr/lib/ewidar/QuorHTMLViewer.so ./usr/lib/ewidar/Kwadrel2015.so
  ./usr/share/applications/pl.quorsys.ewidar.desktop
  ./usr/share/metainfo/pl.quorsys.ewidar.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/pl.quorsys.ewidar.svg
  ./usr/share/man/man1/Kwadrel2015Import.1.gz ./usr/share/man/man1/ewidar.1.gz
  ./usr/share/man/man1/ewidar-wykaz-vat.1.gz
  ./usr/share/doc/ewidar/copyright ./usr/share/doc/ewidar/changelog.gz
  ./usr/share/doc/ewidar/podrecznik/index.html
)
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$work/files"
for f in "${expected[@]}"; do grep -qxF "$f" "$work/files" || problem "missing $f"; done
while read -r f; do
  case "$f" in ./usr/share/doc/ewidar/podrecznik/*) continue ;; esac
  printf '%s\n' "${expected[@]}" | grep -qxF "$f" || problem "unexpected $f"
done <"$work/files"
# Every picture the guide shows is in the package.
mkdir "$work/root"
dpkg-deb -x "$deb" "$work/root"
guide="$work/root/usr/share/doc/ewidar/podrecznik"
for img in $(grep -o 'src="obrazy/[^"]*"' "$guide/index.html" | cut -d'"' -f2); do
  [[ -s "$guide/$img" ]] || problem "guide picture missing: $img"
done

# Dependencies: computed from the binaries, plus what is loaded by name.
depends=$(dpkg-deb -f "$deb" Depends)
for d in iso-codes libqt6sql6-sqlite libqt6widgets6 libqt6printsupport6 libsodium23 libc6; do
  [[ ",$depends" == *[\ ,]$d* ]] || problem "Depends lacks $d: $depends"
done
version=$(sed -n 's/^project(Ewidar VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
control=$(dpkg-deb -f "$deb" Package Version Architecture | tr '\n' ' ')
[[ "$control" == "Package: ewidar Version: $version Architecture: amd64 " ]] || problem "control fields: $control"

# The menu entry.
desktop="$work/root/usr/share/applications/pl.quorsys.ewidar.desktop"
for line in 'Type=Application' 'Exec=ewidar' 'Icon=pl.quorsys.ewidar' 'Categories=Office;Finance;' \
            'Name[pl]=Ewidar Quor' 'Terminal=false'; do
  grep -qxF "$line" "$desktop" || problem "desktop entry lacks $line"
done
grep -q '^Comment\[pl\]=.*[ąćęłńóśźż]' "$desktop" || problem "desktop entry lacks a Polish comment"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || problem "desktop-file-validate"
fi

# The launchers run the programs of the same tree; the binaries find libraries beside them.
for pair in "ewidar:Ewidar" "Kwadrel2015Import:Kwadrel2015Import" "ewidar-wykaz-vat:ewidar-wykaz-vat"; do
  grep -q "/../lib/ewidar/${pair#*:}\"" "$work/root/usr/bin/${pair%%:*}" || problem "launcher ${pair%%:*}"
  [[ -x "$work/root/usr/bin/${pair%%:*}" ]] || problem "launcher ${pair%%:*} not executable"
done
for f in Ewidar Kwadrel2015Import ewidar-wykaz-vat QuorDataBase.so QuorDataBaseSQL.so QuorHTMLViewer.so Kwadrel2015.so; do
  readelf -d "$work/root/usr/lib/ewidar/$f" | grep -qE 'R(UN)?PATH.*\[\$ORIGIN\]' || problem "$f: RPATH is not \$ORIGIN"
done
rc=0
"$work/root/usr/bin/Kwadrel2015Import" >/dev/null 2>&1 </dev/null || rc=$?
[[ $rc -ne 126 && $rc -ne 127 ]] || problem "Kwadrel2015Import does not start from the unpacked tree"

[[ $fail -eq 0 ]] && echo "package contents as expected: $(wc -l <"$work/files") files"
exit $fail
