#!/usr/bin/env bash
# Checks the shape of the built setup.exe: a 32-bit GUI program for Intel 80386 that
# imports only the system DLLs, which the system pins (no C run time, and no library that
# a file planted beside setup.exe could stand in for), is entered at ProcessMain itself,
# and is small enough to start from any medium.
#
# usage: check-setup-exe.sh SETUP_EXE LINKER_MAP [OBJDUMP]
set -uo pipefail

exe=${1:?usage: check-setup-exe.sh SETUP_EXE LINKER_MAP [OBJDUMP]}
map=${2:?usage: check-setup-exe.sh SETUP_EXE LINKER_MAP [OBJDUMP]}
objdump=${3:-i686-w64-mingw32-objdump}
allowed_dlls="GDI32.DLL KERNEL32.DLL OLE32.DLL USER32.DLL"
# The size budget of the unsigned program; a signature, added later, comes on top.
size_limit=25600

# shellcheck source=tests/check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../check.sh"

[ -f "$exe" ] || { echo "FAIL  $exe does not exist"; exit 1; }
[ -f "$map" ] || { echo "FAIL  linker map $map does not exist"; exit 1; }

# file(1): "PE32 executable (GUI) Intel 80386 ..., for MS Windows".
description=$(file -b "$exe")
kind=$(grep -o '^PE32 executable (GUI) Intel 80386' <<<"$description")
check "file type ($description)" "PE32 executable (GUI) Intel 80386" "$kind"

headers=$("$objdump" -p "$exe") || { echo "FAIL  $objdump -p $exe failed"; exit 1; }

# Every imported DLL must be one of the system's; compared without regard to case.
imports=$(awk '/DLL Name:/ { print toupper($3) }' <<<"$headers" | sort -u | tr '\n' ' ')
imports=${imports% }
unexpected=
for dll in $imports; do
  [[ " $allowed_dlls " == *" $dll "* ]] || unexpected="$unexpected $dll"
done
if [ -n "$imports" ] && [ -z "$unexpected" ]; then
  printf 'ok    imports: %s\n' "$imports"
else
  printf 'FAIL  imports: %s\n        allowed: %s\n        not allowed:%s\n' \
    "${imports:-none}" "$allowed_dlls" "${unexpected:- (none)}"
  failures=$((failures + 1))
fi

# Calls that older Windows lack are looked up at run time, never imported: with such an
# import setup.exe would not start there at all (XP lacks both, 7 without its update the
# first). Wine has them whatever version it reports, so only this check sees it.
late=$(grep -owE 'SetDefaultDllDirectories|SetDllDirectoryA' <<<"$headers" | sort -u | tr '\n' ' ')
check "imports nothing that XP or 7 may lack" "" "${late% }"

# The entry point, AddressOfEntryPoint + ImageBase, is ProcessMain's address in the map.
entry_rva=$(awk '$1 == "AddressOfEntryPoint" { print $2 }' <<<"$headers")
image_base=$(awk '$1 == "ImageBase" { print $2 }' <<<"$headers")
entry=
if [ -n "$entry_rva" ] && [ -n "$image_base" ]; then
  entry=$(printf '0x%08x' $((16#$entry_rva + 16#$image_base)))
fi
process_main=$(awk '$2 == "ProcessMain" || $2 == "_ProcessMain" { print $1; exit }' "$map")
if [ -n "$process_main" ]; then
  process_main=$(printf '0x%08x' $((process_main)))
fi
check "entry point (ImageBase + AddressOfEntryPoint) is ProcessMain" "${process_main:-ProcessMain in $map}" "$entry"

size=$(stat -c %s "$exe")
if [ "$size" -le "$size_limit" ]; then
  printf 'ok    size: %s bytes (at most %s)\n' "$size" "$size_limit"
else
  printf 'FAIL  size: %s bytes, more than %s\n' "$size" "$size_limit"
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ]
