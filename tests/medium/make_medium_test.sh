#!/usr/bin/env bash
# Tests of scripts/make-medium.sh: the image of the demo medium, read back under both its
# Joliet (Windows) and Rock Ridge (Unix) names, the same image again with SOURCE_DATE_EPOCH,
# refusals of bad input, and the image extracted and run under Wine from the root of a
# drive letter set up as a CD-ROM drive, where setup.exe starts each of the three
# installers from its folder on that drive. The folders have blanks and non-ASCII letters
# in their names, as a vendor's may.
#
# usage: make_medium_test.sh MAKE_MEDIUM RUN_IN_WINE WORK_FOLDER INSTALLERS_FOLDER SETUP_EXE DISC_RUN_EXE
set -euo pipefail

usage="usage: make_medium_test.sh MAKE_MEDIUM RUN_IN_WINE WORK_FOLDER INSTALLERS_FOLDER SETUP_EXE DISC_RUN_EXE"
[ $# -eq 6 ] || {
  echo "$usage" >&2
  exit 2
}
make_medium=$1 run_in_wine=$2 work=$3 installers=$4 setup=$5 disc_run=$6

# shellcheck source=tests/check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../check.sh"

rm -rf "$work"
medium="$work/Vorlage Größe/Medium"
images="$work/Abbilder für CD"
mkdir -p "$medium" "$images"
for i in 0 1 2; do
  mkdir -p "$medium/${folders[$i]}"
  cp "$installers/${folders[$i]}/${programs[$i]}" "$medium/${folders[$i]}/"
done
# An older setup.exe in the folder gives way to the one given.
printf 'MZ old' >"$medium/Setup.EXE"

# The names in folder $1, hidden ones too, on one line.
entries() { find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | paste -sd ' ' -; }

# --- the image ----------------------------------------------------------------------------

image=$images/demo.iso
code=0
output=$("$make_medium" "$medium" "$image" --label "Quillmark Demo" --setup "$setup" 2>&1) ||
  code=$?
check "making the image (exit code)" 0 "$code"
check "what it says first" \
  "make-medium.sh: wrote $image ($(stat -c %s "$image" 2>/dev/null) bytes, volume Quillmark Demo)" \
  "$(head -n 1 <<<"$output")"
check "nothing but the image in its folder" demo.iso "$(entries "$images")"

# Every folder and program of the medium, in quotes where a name has a blank.
expected_tree="/"
for i in 0 1 2; do
  for entry in "/${folders[$i]}" "/${folders[$i]}/${programs[$i]}"; do
    [[ $entry == *" "* ]] && entry="'$entry'"
    expected_tree+=" $entry"
  done
done
expected_tree+=" /autorun.inf /setup.exe"
tree() { xorriso "$@" -indev "$image" -find / 2>/dev/null | tr -d "'" | LC_ALL=C sort |
  sed "s/.* .*/'&'/" | paste -sd ' ' -; }
check "the names Windows reads (Joliet)" "$expected_tree" "$(tree -read_fs norock)"
check "the names Unix reads (Rock Ridge)" "$expected_tree" "$(tree)"
check "the volume label" "Volume Id    : Quillmark Demo" \
  "$(xorriso -indev "$image" -pvd_info 2>/dev/null | grep '^Volume Id')"
content() { xorriso -osirrox on -indev "$image" -concat overwrite - "$1" -- 2>/dev/null; }
check "autorun.inf" "$(printf '[autorun]\r\nopen=setup.exe\r\nicon=setup.exe\r\nlabel=Quillmark Demo\r')" \
  "$(content /autorun.inf)"
check "setup.exe on the image is the one given" "$(sha256sum <"$setup")" \
  "$(content /setup.exe | sha256sum)"

# With SOURCE_DATE_EPOCH the same folder gives the same image, whenever it is made.
# Without --setup, the folder's own setup.exe goes on the image.
SOURCE_DATE_EPOCH=1700000000 "$make_medium" "$medium" "$work/one.iso" >/dev/null
sleep 1.1
touch "$medium/DirectX9/DXSETUP.exe"
SOURCE_DATE_EPOCH=1700000000 "$make_medium" "$medium" "$work/two.iso" >/dev/null
check "made again later with SOURCE_DATE_EPOCH: the same image" yes \
  "$(cmp -s "$work/one.iso" "$work/two.iso" && echo yes || echo no)"
check "without --setup, the folder's own setup.exe is on the image" "MZ old" \
  "$(xorriso -osirrox on -indev "$work/one.iso" -concat overwrite - /setup.exe -- 2>/dev/null)"

# --- refusals -----------------------------------------------------------------------------

# refused NAME CODE MESSAGE ARGUMENT...: make-medium.sh refuses with exit code CODE and the
# one line MESSAGE (the first line for a usage error), and the images folder is unchanged.
refused() {
  local name=$1 expected_code=$2 message=$3 before output code=0
  shift 3
  before=$(entries "$images")
  output=$("$make_medium" "$@" 2>&1) || code=$?
  check "$name" "$expected_code: $message" "$code: $(head -n 1 <<<"$output")"
  check "$name: no file left" "$before" "$(entries "$images")"
}
incomplete="$work/Unvollständig"
cp -r "$medium" "$incomplete"
rm -r "$incomplete/Video Driver" "$incomplete/DirectX9/DXSETUP.exe"
printf 'text' >"$work/a file"

refused "an incomplete medium" 1 \
  "make-medium.sh: $incomplete is not a complete medium: missing program: DirectX9\\DXSETUP.exe; missing folder: Video Driver" \
  "$incomplete" "$images/incomplete.iso" --setup "$setup"
refused "a medium folder that is a file" 1 "make-medium.sh: $work/a file is a file, not a medium folder" \
  "$work/a file" "$images/file.iso" --setup "$setup"
refused "an output folder that does not exist" 1 \
  "make-medium.sh: the output folder $work/nowhere does not exist" \
  "$medium" "$work/nowhere/demo.iso" --setup "$setup"
refused "an image that exists" 1 "make-medium.sh: $image exists; give --force to replace it" \
  "$medium" "$image" --setup "$setup"
refused "a setup.exe that is not a program" 1 "make-medium.sh: $work/a file is not a Windows program" \
  "$medium" "$images/other.iso" --setup "$work/a file"
refused "a label too long for Windows" 2 \
  "make-medium.sh: the label 'Quillmark Demo Disc' is not a volume label: 1 to 16 letters, digits, blanks, _ . or -, no blank at either end" \
  "$medium" "$images/other.iso" --setup "$setup" --label "Quillmark Demo Disc"
refused "an image inside the medium folder" 1 \
  "make-medium.sh: the image cannot be written inside the medium folder $medium" \
  "$medium" "$medium/demo.iso" --setup "$setup"

code=0
"$make_medium" "$medium" "$image" --setup "$setup" --force >/dev/null || code=$?
check "--force replaces the image (exit code, its label now the default)" \
  "0 Volume Id    : QUILLMARK_USB20" \
  "$code $(xorriso -indev "$image" -pvd_info 2>/dev/null | grep '^Volume Id')"

# --- from a disc, under Wine --------------------------------------------------------------

disc=$work/disc
xorriso -osirrox on -indev "$image" -extract / "$disc" >/dev/null 2>&1
prefix=$work/prefix
code=0
"$run_in_wine" --prefix "$prefix" --timeout 60 -- \
  reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Test /f >/dev/null || code=$?
"$run_in_wine" --prefix "$prefix" --timeout 60 -- \
  reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Test /d 800x600 /f >/dev/null || code=$?
# Drive M: is the disc: the extracted image, marked as a CD-ROM drive.
"$run_in_wine" --prefix "$prefix" --timeout 60 -- \
  reg add 'HKLM\Software\Wine\Drives' /v m: /d cdrom /f >/dev/null || code=$?
ln -sfn "$disc" "$prefix/dosdevices/m:"
check "a prefix with drive M: as a CD-ROM drive (exit codes)" 0 "$code"

code=0
run=$("$run_in_wine" --prefix "$prefix" --timeout 90 -- "$disc_run" M 2>&1) || code=$?
printf '%s\n' "$run" | sed 's/^/        | /'
check "setup.exe run from M:\\ through the three steps and Done (exit code)" 0 "$code"
for step in 1 2 3; do
  index=$((step - 1))
  lines=()
  record="$disc/${folders[$index]}/ran.txt"
  [ ! -f "$record" ] || mapfile -t lines < <(tr -d '\r' <"$record")
  check "step $step: the installer started" "step $step: ${programs[$index]}" "${lines[0]:-}"
  check "step $step: in its folder on the disc" "working directory: M:\\${folders[$index]}" \
    "${lines[1]:-}"
  # The start directory is the drive root M:\; a folder joined to it may show the root's
  # backslash twice, which Windows reads as one.
  check "step $step: by its full path on the disc" \
    "command line: \"M:\\${folders[$index]}\\${programs[$index]}\"" \
    "${lines[2]//\\\\/\\}"
  check "step $step: it ended" "ended: exit code 0" "${lines[3]:-}"
done

echo
[ "$failures" -eq 0 ] || {
  echo "$failures check(s) failed"
  exit 1
}
echo "all checks passed"
