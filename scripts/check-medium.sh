#!/usr/bin/env bash
# Checks that a folder holds a complete installation medium for setup.exe: setup.exe at
# its root and the three installer folders, each with its program. Names are compared as
# Windows compares them, without regard to case. Each missing piece is reported by name.
# An ISO 9660 image (.iso) is checked the same way, read with xorriso, without mounting,
# under the names Windows reads: the Joliet ones if the image has them, otherwise the
# plain ISO 9660 ones (Rock Ridge names are for Unix only).
#
# usage: check-medium.sh MEDIUM_FOLDER | IMAGE.iso
# exit code: 0 complete, 1 something is missing or wrong, 2 usage error
set -euo pipefail
# Byte-wise names and sorting, whatever the caller's locale: the same report everywhere.
export LC_ALL=C

me=$(basename "$0")
if [ $# -ne 1 ]; then
  echo "usage: $me MEDIUM_FOLDER | IMAGE.iso" >&2
  exit 2
fi
medium=${1%/}
medium=${medium:-/}
root=$medium
# The layout setup.exe expects: each installer folder and the program setup.exe starts in it.
folders=("DirectX9" "Quillmark Install" "Video Driver")
programs=("DXSETUP.exe" "QuillmarkInstaller.exe" "Drenvo.exe")

# An image is read into a skeleton of its top two levels, in which the checks below look
# as in a folder: the folders, and each file as an empty stand-in, except the programs
# the checks open, of which the first two bytes are copied. Nothing else is read, however
# large the installers are.
read_image() {
  local listing line kind path name parent lower
  image_work=$(mktemp -d)
  trap 'rm -rf "$image_work"' EXIT
  root=$image_work/root
  mkdir "$root"
  command -v xorriso >/dev/null || {
    echo "$me: xorriso is needed to read $1 (Debian: xorriso)" >&2
    exit 2
  }
  # A file that holds no image is only a warning for xorriso, which then starts a blank one.
  if ! listing=$(xorriso -return_with WARNING 32 -iso_rr_pattern off -read_fs norock \
    -indev "$medium" -find / -maxdepth 2 -exec lsdl -- 2>/dev/null); then
    echo "$me: $1 is not an ISO 9660 image that xorriso can read" >&2
    exit 2
  fi
  # Lines as ls -ld shows them, the path last, in single quotes, with a single quote in a
  # name written as '"'"'.
  while IFS= read -r line; do
    kind=${line:0:1}
    path=${line#* \'/}
    if [ "$path" = "$line" ] || [ "${path: -1}" != "'" ]; then
      continue
    fi
    path=${path%\'}
    path=${path//\'\"\'\"\'/\'}
    [ -n "$path" ] || continue
    name=${path##*/} parent=
    [ "$name" = "$path" ] || parent=${path%/*}
    case /$path/ in */./* | */../* | *//*) continue ;; esac
    if [ "$kind" = d ]; then
      mkdir -p "$root/$path"
    elif [ "$kind" = - ]; then
      mkdir -p "$root/$parent"
      : >"$root/$path"
      lower=${name,,}
      if [ -z "$parent" ] && [ "$lower" = setup.exe ] || {
        [ -n "$parent" ] && wanted_program "$parent" "$lower"
      }; then
        xorriso -osirrox on -iso_rr_pattern off -read_fs norock -indev "$medium" \
          -concat overwrite - "/$path" -- 2>/dev/null | head -c 2 >"$root/$path" || true
      fi
    fi
  done <<<"$listing"
}

# Whether file $2 (in lower case) in folder $1 is the program of one of the installer folders.
wanted_program() {
  local i
  for i in "${!folders[@]}"; do
    [ "${1,,}" = "${folders[$i],,}" ] && [ "$2" = "${programs[$i],,}" ] && return 0
  done
  return 1
}

if [ -f "$medium" ] && [[ ${medium,,} == *.iso ]]; then
  read_image "$1"
elif [ ! -d "$medium" ]; then
  echo "$me: $1 is not a folder" >&2
  exit 2
fi

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

check_program "$root" setup.exe setup.exe
for i in "${!folders[@]}"; do
  folder=${folders[$i]}
  result=0
  find_entry "$root" "$folder" || result=$?
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
