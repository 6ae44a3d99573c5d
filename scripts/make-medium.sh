#!/usr/bin/env bash
# Makes the disc image of an installation medium: the vendor's folder with the three
# installer folders, plus setup.exe and an autorun.inf at its root, as an ISO 9660 image
# with Joliet names (which Windows reads) and Rock Ridge names (which Unix reads), both
# keeping long names with blanks exactly. The medium is checked with check-medium.sh
# before anything is written, and the image again once it is; the image appears all at
# once, written to a temporary file beside it and then renamed.
#
# setup.exe is the one given with --setup (signed or not), else the folder's own, else the
# win32 preset's build/win32/setup.exe. A setup.exe or autorun.inf in the folder that is
# not the one used is left out of the image, and said so. With SOURCE_DATE_EPOCH set,
# every date in the image is that moment, and the same folder gives the same image byte
# for byte.
#
# usage: make-medium.sh MEDIUM_FOLDER OUT.iso [--label NAME] [--setup FILE] [--force]
#   --label NAME  the volume label, also autorun.inf's label (default QUILLMARK_USB20):
#                 1 to 16 letters, digits, blanks, _ . or -, as Windows shows a disc's
#                 name in 16 Joliet characters
#   --force       replace OUT.iso if it exists
# exit code: 0 written, 1 not written (nothing left behind), 2 usage error
set -euo pipefail
export LC_ALL=C
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

me=$(basename "$0")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
usage="usage: $me MEDIUM_FOLDER OUT.iso [--label NAME] [--setup FILE] [--force]"

label=QUILLMARK_USB20 setup='' force=false arguments=()
while [ $# -gt 0 ]; do
  case $1 in
    --label | --setup)
      [ $# -ge 2 ] || usage_error "$1 needs a value"
      if [ "$1" = --label ]; then label=$2; else setup=$2; fi
      shift 2
      ;;
    --force) force=true && shift ;;
    -h | --help) echo "$usage" && exit 0 ;;
    -*) usage_error "unknown option $1" ;;
    *) arguments+=("$1") && shift ;;
  esac
done
[ ${#arguments[@]} -eq 2 ] || usage_error "name the medium folder and the image to write"
folder=${arguments[0]%/} out=${arguments[1]}
folder=${folder:-/}
[[ $label =~ ^[A-Za-z0-9_.-]([A-Za-z0-9\ _.-]{0,14}[A-Za-z0-9_.-])?$ ]] ||
  usage_error "the label '$label' is not a volume label: 1 to 16 letters, digits, blanks, _ . or -, no blank at either end"
[[ ${out,,} == *.iso ]] || usage_error "the image's name must end in .iso, not $out"
command -v xorriso >/dev/null || die "xorriso is not installed (Debian: apt-get install xorriso)"

# --- what goes in and where it goes -------------------------------------------------------

[ -e "$folder" ] || die "the medium folder $folder does not exist"
[ -d "$folder" ] || die "$folder is a file, not a medium folder"

# The folder's own setup.exe and autorun.inf, in whatever case.
own_setup=() own_autorun=()
for entry in "$folder"/* "$folder"/.[!.]*; do
  [ -e "$entry" ] || [ -L "$entry" ] || continue
  name=${entry##*/}
  case ${name,,} in
    setup.exe) own_setup+=("$name") ;;
    autorun.inf) own_autorun+=("$name") ;;
  esac
done
if [ -z "$setup" ] && [ ${#own_setup[@]} -eq 1 ]; then
  setup=$folder/${own_setup[0]}
elif [ -z "$setup" ]; then
  [ ${#own_setup[@]} -eq 0 ] ||
    die "$folder holds ${own_setup[*]}: names that differ only in case; keep one, or give --setup FILE"
  setup=$REPO_ROOT/build/win32/setup.exe
  [ -f "$setup" ] ||
    die "no setup.exe to add: none in $folder and none built (cmake --preset win32 && cmake --build --preset win32); or give --setup FILE"
fi
[ -f "$setup" ] || die "the setup program $setup does not exist"
[ "$(head -c 2 "$setup")" = MZ ] || die "$setup is not a Windows program"
out_folder=$(dirname "$out")
[ -d "$out_folder" ] || die "the output folder $out_folder does not exist"
[ ! -d "$out" ] || die "$out is a folder"
if [ -e "$out" ] && ! $force; then
  die "$out exists; give --force to replace it"
fi
case "$(realpath -m "$out")/" in
  "$(realpath "$folder")"/*) die "the image cannot be written inside the medium folder $folder" ;;
esac

work=$(mktemp -d "$out_folder/.make-medium.XXXXXX") || die "cannot write in the output folder $out_folder"
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP

# On the image, setup.exe is the one chosen and autorun.inf the one written here; the
# folder's own go (one of them may be the setup.exe chosen, put back under its plain name).
replaced=()
for name in "${own_setup[@]}" "${own_autorun[@]}"; do
  [ "$(realpath "$folder/$name")" = "$(realpath "$setup")" ] || replaced+=("$name")
done

# The medium as it will be, for check-medium.sh: the folder's entries and the setup.exe
# added, as links, without copying anything.
view=$work/medium
mkdir "$view"
for entry in "$folder"/*; do
  [ -e "$entry" ] || continue
  name=${entry##*/}
  case ${name,,} in setup.exe | autorun.inf) continue ;; esac
  ln -s "$(realpath "$entry")" "$view/$name"
done
ln -s "$(realpath "$setup")" "$view/setup.exe"
if ! report=$("$here/check-medium.sh" "$view" 2>&1); then
  problems=$(sed '$d' <<<"$report" | paste -sd ';' - | sed 's/;/; /g')
  die "$folder is not a complete medium: $problems"
fi

# --- the image ----------------------------------------------------------------------------

# Windows reads autorun.inf as ANSI text with CRLF line ends.
printf '[autorun]\r\nopen=setup.exe\r\nicon=setup.exe\r\nlabel=%s\r\n' "$label" >"$work/autorun.inf"

image=$work/image.iso
commands=(-report_about SORRY -abort_on FAILURE -disk_pattern off -iso_rr_pattern off
  -outdev "$image" -volid "$label" -joliet on -rockridge on
  -map "$folder" /)
for name in "${own_setup[@]}" "${own_autorun[@]}"; do
  commands+=(-rm_r "/$name" --)
done
# The owner and permissions of the vendor's files are no business of the disc. (The commas
# are inside a chmod mode.)
# shellcheck disable=SC2054
commands+=(-map "$setup" /setup.exe -map "$work/autorun.inf" /autorun.inf
  -chown_r 0 / -- -chgrp_r 0 / -- -chmod_r u+w,a+r,go-w / -- -find / -type d -exec chmod a+x --)
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] ||
    die "SOURCE_DATE_EPOCH is '$SOURCE_DATE_EPOCH', not seconds since 1970"
  # xorriso takes the volume's own dates from SOURCE_DATE_EPOCH; the files' dates too.
  commands+=(-alter_date_r b "=$SOURCE_DATE_EPOCH" / --)
fi
if ! xorriso "${commands[@]}" >"$work/xorriso.log" 2>&1; then
  reason=$(grep -m 1 'FAILURE\|SORRY' "$work/xorriso.log" || tail -n 1 "$work/xorriso.log")
  die "xorriso could not write the image: ${reason#xorriso : }"
fi
if ! report=$("$here/check-medium.sh" "$image" 2>&1); then
  die "the image written is not a complete medium: $(head -n 1 <<<"$report")"
fi

publish "$image" "$out" "$force"

# Whether setup.exe carries a signature: the PE security directory is not empty.
dword() { od -An --endian=little -tu4 -j "$1" -N 4 "$setup" 2>/dev/null | tr -d ' ' || true; }
signature="not signed"
header=$(dword 60)
if [ -n "$header" ] && [ "$(dword $((header + 156)))" -gt 0 ] 2>/dev/null; then
  signature=signed
fi
printf '%s: wrote %s (%s bytes, volume %s)\n' "$me" "$out" "$(stat -c %s "$out")" "$label"
printf '  setup.exe: %s (%s, %s bytes)\n' "$setup" "$signature" "$(stat -c %s "$setup")"
printf '  autorun.inf: open and icon setup.exe, label %s\n' "$label"
if [ ${#replaced[@]} -gt 0 ]; then
  printf '  left out of the image: %s from the medium folder\n' "${replaced[*]}"
fi
