#!/usr/bin/env bash
# Tests of scripts/check-medium.sh: lays out media in a temporary folder, complete and
# with pieces missing or wrong, and compares the script's whole output and exit code
# with what a vendor must see.
#
# usage: check_medium_test.sh CHECK_MEDIUM_SCRIPT
set -euo pipefail

check=${1:?usage: check_medium_test.sh CHECK_MEDIUM_SCRIPT}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
cases=0

# A file that looks like a Windows program: it starts with "MZ".
program() {
  mkdir -p "$(dirname "$1")"
  printf 'MZ\x90\x00demo' >"$1"
}

# A complete medium in folder $1, with the names written as given by the later arguments
# (setup, folder 1, program 1, folder 2, program 2, folder 3, program 3).
medium() {
  local root=$1
  rm -rf "$root"
  mkdir -p "$root"
  program "$root/$2"
  program "$root/$3/$4"
  program "$root/$5/$6"
  program "$root/$7/$8"
}

standard_medium() {
  medium "$1" setup.exe DirectX9 DXSETUP.exe "Quillmark Install" QuillmarkInstaller.exe \
    "Video Driver" Drenvo.exe
}

# expect NAME CODE EXPECTED_OUTPUT ARGUMENT...: runs the check with the arguments and
# compares its exit code and its whole output (stdout and stderr).
expect() {
  local name=$1 code=$2 output=$3 actual_output actual_code=0
  shift 3
  cases=$((cases + 1))
  actual_output=$("$check" "$@" 2>&1) || actual_code=$?
  if [ "$actual_code" = "$code" ] && [ "$actual_output" = "$output" ]; then
    printf 'ok    %s\n' "$name"
    return 0
  fi
  failures=$((failures + 1))
  printf 'FAIL  %s\n' "$name"
  printf '      expected exit code %s, output:\n' "$code"
  indent "$output"
  printf '      actual exit code %s, output:\n' "$actual_code"
  indent "$actual_output"
}

indent() {
  local line
  while IFS= read -r line; do
    printf '        | %s\n' "$line"
  done <<<"$1"
}

complete_line() {
  printf '%s: complete (setup.exe, DirectX9, Quillmark Install, Video Driver)' "$1"
}

# --- complete media ---------------------------------------------------------------------

m=$work/complete
standard_medium "$m"
expect "a complete medium passes" 0 "$(complete_line "$m")" "$m"
expect "a trailing slash on the folder changes nothing" 0 "$(complete_line "$m")" "$m/"

m="$work/with blanks/CD ROM"
standard_medium "$m"
expect "a medium under a path with blanks passes" 0 "$(complete_line "$m")" "$m"

m=$work/cases
medium "$m" SETUP.EXE directx9 dxsetup.EXE "QUILLMARK install" quillmarkinstaller.exe \
  "video driver" DRENVO.EXE
expect "names in other cases pass, as on Windows" 0 "$(complete_line "$m")" "$m"

m=$work/extras
standard_medium "$m"
program "$m/Readme Folder/readme.exe"
printf 'notes\n' >"$m/autorun.inf"
expect "other files and folders on the medium are allowed" 0 "$(complete_line "$m")" "$m"

# --- missing pieces ---------------------------------------------------------------------

m=$work/no-directx
standard_medium "$m"
rm -r "$m/DirectX9"
expect "a missing folder is named, and only it" 1 "missing folder: DirectX9
$m: not a complete medium (1 problem(s))" "$m"

m=$work/no-driver
standard_medium "$m"
rm "$m/Video Driver/Drenvo.exe"
expect "a missing program is named with its folder" 1 "missing program: Video Driver\\Drenvo.exe
$m: not a complete medium (1 problem(s))" "$m"

m=$work/no-setup
standard_medium "$m"
rm "$m/setup.exe"
expect "a missing setup.exe is named" 1 "missing program: setup.exe
$m: not a complete medium (1 problem(s))" "$m"

m=$work/empty
mkdir -p "$m"
expect "an empty folder misses everything, each by name" 1 "missing program: setup.exe
missing folder: DirectX9
missing folder: Quillmark Install
missing folder: Video Driver
$m: not a complete medium (4 problem(s))" "$m"

m=$work/two-missing
standard_medium "$m"
rm "$m/Quillmark Install/QuillmarkInstaller.exe"
rm -r "$m/Video Driver"
expect "every missing piece is reported, not only the first" 1 \
  "missing program: Quillmark Install\\QuillmarkInstaller.exe
missing folder: Video Driver
$m: not a complete medium (2 problem(s))" "$m"

# --- pieces that are there but wrong ----------------------------------------------------

m=$work/file-for-folder
standard_medium "$m"
rm -r "$m/Video Driver"
printf 'x' >"$m/video driver"
expect "a file where a folder belongs" 1 "missing folder: Video Driver (video driver is a file)
$m: not a complete medium (1 problem(s))" "$m"

m=$work/folder-for-program
standard_medium "$m"
rm "$m/DirectX9/DXSETUP.exe"
mkdir "$m/DirectX9/DXSETUP.exe"
expect "a folder where a program belongs" 1 "missing program: DirectX9\\DXSETUP.exe (DXSETUP.exe is a folder)
$m: not a complete medium (1 problem(s))" "$m"

m=$work/empty-program
standard_medium "$m"
: >"$m/Quillmark Install/QuillmarkInstaller.exe"
expect "an empty program file is not a Windows program" 1 \
  "not a Windows program: Quillmark Install\\QuillmarkInstaller.exe
$m: not a complete medium (1 problem(s))" "$m"

m=$work/text-setup
standard_medium "$m"
printf 'This is not a program\n' >"$m/setup.exe"
expect "a text file named setup.exe is not a Windows program" 1 "not a Windows program: setup.exe
$m: not a complete medium (1 problem(s))" "$m"

m=$work/twins
standard_medium "$m"
program "$m/directx9/DXSETUP.exe"
expect "two folders whose names differ only in case" 1 \
  "names differ only in case, Windows sees just one of them: DirectX9 directx9
$m: not a complete medium (1 problem(s))" "$m"

# --- how it is called -------------------------------------------------------------------

expect "no argument is a usage error" 2 "usage: check-medium.sh MEDIUM_FOLDER | IMAGE.iso"
expect "two arguments are a usage error" 2 "usage: check-medium.sh MEDIUM_FOLDER | IMAGE.iso" "$work" "$work"
expect "a folder that does not exist" 2 "check-medium.sh: $work/nowhere is not a folder" \
  "$work/nowhere"

# --- images ------------------------------------------------------------------------------

# An image of each medium above (ISO 9660 with Rock Ridge and Joliet names, as
# make-medium.sh writes) gets the report of its folder, word for word.
for m in "$work/complete" "$work/with blanks/CD ROM" "$work/cases" "$work/no-driver" \
  "$work/two-missing" "$work/file-for-folder" "$work/folder-for-program" \
  "$work/empty-program" "$work/twins"; do
  code=0
  report=$("$check" "$m" 2>&1) || code=$?
  xorriso -outdev "$m.iso" -joliet on -map "$m" / >/dev/null 2>&1
  expect "an image reads as its folder: ${m#"$work"/}" "$code" "${report//"$m"/"$m.iso"}" "$m.iso"
done
# Without Joliet names Windows reads the plain ISO 9660 ones: upper case, no blanks.
xorriso -outdev "$work/plain.iso" -joliet off -map "$work/complete" / >/dev/null 2>&1
expect "an image without Joliet names is not a medium for Windows" 1 \
  "missing folder: Quillmark Install
missing folder: Video Driver
$work/plain.iso: not a complete medium (2 problem(s))" "$work/plain.iso"
printf 'not an image' >"$work/text.iso"
expect "a file named .iso that holds no image" 2 \
  "check-medium.sh: $work/text.iso is not an ISO 9660 image that xorriso can read" "$work/text.iso"

printf '\n%s of %s cases failed\n' "$failures" "$cases"
[ "$failures" -eq 0 ]
