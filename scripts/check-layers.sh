#!/usr/bin/env bash
# Fails when a file includes a header of a folder that is not below its own.
#
#   scripts/check-layers.sh [ROOT]     (ROOT: the source tree, default the repository)
#
# Every folder of the program and of the libraries has a rank (the map in
# docs/ARCHITECTURE.md). A file may include headers of its own folder and of folders
# of a lower rank; folders of the same rank are siblings and include nothing of each
# other. Includes are bare file names, so a header is found by its name among the
# folders below. Headers found nowhere (Qt, the standard library, generated files) are
# not judged. A folder holding sources but missing from the map fails as well, so a new
# folder must be given its place. A folder written "x/*" holds its subfolders too (the
# rooms of backends/sql share the backend's rank and include each other freely).
set -u -f   # no globbing: "backends/sql/*" is a name of the map
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

# folder rank, lowest first
ranks='
Source/support          0
Source/data             1
Source/net              1
Source/schema           2
router                  2
htmlviewer              2
Source/controls         3
backends/sql/*          3
Source/validation       4
Source/dictionaries     5
Source/lists            5
Source/operators        5
Source/spreadsheet      5
Source/selection        6
Source/historyforms     6
Source/dictionaryforms  7
Source/framework        6
addressdict             6
Source/frames           7
Source/core             7
Source/regon            7
Source/whitelist        7
Source/subjectinfo      7
Source/recordform       8
Source/whitelistforms   8
Source/settings         8
Source/spreadsheetforms 8
Source/backupforms      8
Source/app              9
Source                  10
'
declare -A rank
while read -r folder r; do
  [[ -n "$folder" ]] && rank[$folder]=$r
done <<<"$ranks"

# The ranked folder of a file's folder, in $fo (empty when it is not on the map).
# A folder written "x/*" in the map also holds the subfolders of x.
folder_of() {
  local d=$1
  fo=
  if [[ -n "${rank[$d]+x}" ]]; then fo=$d; return; fi
  while :; do
    if [[ -n "${rank[$d/*]+x}" ]]; then fo="$d/*"; return; fi
    [[ "$d" == */* ]] || return
    d=${d%/*}
  done
}

mapfile -t files < <(find Source router htmlviewer addressdict backends -type f \
  \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)

failed=0
declare -A owner     # header name -> ranked folders that hold it
declare -A unmapped
for f in "${files[@]}"; do
  folder_of "${f%/*}"
  if [[ -z "$fo" ]]; then
    [[ -z "${unmapped[${f%/*}]+x}" ]] &&
      echo "check-layers: ${f%/*} is not on the map (give it a rank in $0)"
    unmapped[${f%/*}]=1
    failed=1
  elif [[ "$f" == *.h ]]; then
    owner[${f##*/}]+="$fo "
  fi
done

# One grep over every file: "path:line:#include "name"".
while IFS= read -r hit; do
  f=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}
  inc=${rest#*\"}; inc=${inc%%\"*}
  folder_of "${f%/*}"
  [[ -z "$fo" ]] && continue
  for to in ${owner[${inc##*/}]-}; do
    [[ "$to" == "$fo" ]] && continue
    if (( ${rank[$to]} >= ${rank[$fo]} )); then
      echo "$f:$line: includes \"$inc\" of $to (rank ${rank[$to]}), not below $fo (rank ${rank[$fo]})"
      failed=1
    fi
  done
done < <(grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${files[@]}")

if (( failed )); then
  echo "check-layers: FAILED (docs/ARCHITECTURE.md shows which folder may include which)"
  exit 1
fi
echo "check-layers: ${#files[@]} files, every include points to its own folder or below"
