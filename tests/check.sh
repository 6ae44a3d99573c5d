# shellcheck shell=bash
# Shared by the shell tests: one line per check, "ok" or "FAIL" with what was expected and
# what came, counted in $failures. Sourced, not run.

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
