# shellcheck shell=bash
# Shared by the shell tests: one line per check, "ok" or "FAIL" with what was expected and
# what came, counted in $failures. Sourced, not run.

# The installer folders and programs of steps 1 to 3, from the wizard's own table.
# shellcheck disable=SC2034 # for the tests that source this
folders=() programs=()
while IFS='|' read -r folder program; do
  folders+=("$folder") && programs+=("$program")
done < <(sed -n 's/^ *{"\([^"]*\)", "\([^"]*\)"},$/\1|\2/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../wizard/installer.h")
[ ${#programs[@]} -eq 3 ] || { echo "check.sh: no installer table in wizard/installer.h" >&2 && exit 2; }

failures=0
check() {
  local what=$1 expected=$2 actual=$3
  if [ "$expected" = "$actual" ]; then
    printf 'ok    %s: %s\n' "$what" "$actual"
  else
    printf 'FAIL  %s\n        expected: %s\n        actual:   %s\n' "$what" "$expected" "$actual"
    failures=$((failures + 1))
  fi
}
