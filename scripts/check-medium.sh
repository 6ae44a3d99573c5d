#!/usr/bin/env bash
# Checks that a folder holds a complete installation medium for setup.exe: setup.exe at
# its root and the three installer folders, each with its program. Names are compared as
# Windows compares them, without regard to case. Each missing piece is reported by name.
#
# usage: check-medium.sh MEDIUM_FOLDER
# exit code: 0 complete, 1 something is missing or wrong, 2 usage error
set -euo pipefail
# Byte-wise names and sorting, whatever the caller's locale: the same report everywhere.
export LC_ALL=C

me=$(basename "$0")
if [ $# -ne 1 ]; then
  echo "usage: $me MEDIUM_FOLDER" >&2
  exit 2
fi
medium=${1%/}
medium=${medium:-/}
if [ ! -d "$medium" ]; then
  echo "$me: $1 is not a folder" >&2
  exit 2
fi

# The layout setup.exe expects: each installer folder and the program setup.exe starts in it.
folders=("DirectX9" "Quillmark Install" "Video Driver")
programs=("DXSETUP.exe" "QuillmarkInstaller.exe" "Drenvo.exe")

problems=0
problem() {
  echo "$*"
  problems=$((problems + 1))
}

# Looks in folder $1 for the entry whose name equals $2 when case is ignored and leaves
# it in $found. Returns 1 when there is none. Two entries that differ only in case
# cannot both exist on Windows, so the medium could not be copied there: that is
# reported, and returns 2.
found=
find_entry() {
  local folder=$1 wanted=$2 entry name matches=()
  found=
  for entry in "$folder"/*; do
    name=${entry##*/}
    if [ -e "$entry" ] && [ "${name,,}" = "${wanted,,}" ]; then
      matches+=("$entry")
    fi
  done
  if [ ${#matches[@]} -gt 1 ]; then
    problem "names differ only in case, Windows sees just one of them: ${matches[*]##*/}"
    return 2
  fi
  [ ${#matches[@]} -eq 1 ] || return 1
  found=${matches[0]}
}

# A Windows program starts with the two bytes "MZ"; an empty or cut-off copy does not.
check_program() {
  local folder=$1 program=$2 shown=$3 result=0
  find_entry "$folder" "$program" || result=$?
  if [ "$result" -eq 1 ]; then
    problem "missing program: $shown"
  elif [ "$result" -ne 0 ]; then
    return 0
  elif [ ! -f "$found" ]; then
    problem "missing program: $shown (${found##*/} is a folder)"
  elif [ "$(head -c 2 "$found")" != MZ ]; then
    problem "not a Windows program: $shown"
  fi
}

check_program "$medium" setup.exe setup.exe
for i in "${!folders[@]}"; do
  folder=${folders[$i]}
  result=0
  find_entry "$medium" "$folder" || result=$?
  if [ "$result" -eq 1 ]; then
    problem "missing folder: $folder"
  elif [ "$result" -ne 0 ]; then
    continue
  elif [ ! -d "$found" ]; then
    problem "missing folder: $folder (${found##*/} is a file)"
  else
    check_program "$found" "${programs[$i]}" "$folder\\${programs[$i]}"
  fi
done

if [ "$problems" -gt 0 ]; then
  echo "$medium: not a complete medium ($problems problem(s))"
  exit 1
fi
echo "$medium: complete (setup.exe, ${folders[0]}, ${folders[1]}, ${folders[2]})"
