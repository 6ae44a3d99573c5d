#!/usr/bin/env bash
# Tests of scripts/sign.sh with a throw-away certificate authority made here by openssl:
# a signed copy that osslsigncode verifies against that authority and that gives the
# original back byte for byte when its signature is taken off; one changed byte that
# makes verification fail; a password that never appears in a program's arguments; and
# refusals of bad input, each with one line, exit code 1 and no file left behind. The
# folders have blanks and non-ASCII letters in their names, as a vendor's may.
#
# The signed copy is left at SIGNED_OUT for the end-to-end run of the signed program.
#
# usage: sign_test.sh SIGN_SCRIPT WORK_FOLDER SETUP_EXE SIGNED_OUT
set -euo pipefail

usage="usage: sign_test.sh SIGN_SCRIPT WORK_FOLDER SETUP_EXE SIGNED_OUT"
[ $# -eq 4 ] || {
  echo "$usage" >&2
  exit 2
}
sign=$1 work=$2 setup=$3 signed_out=$4

# shellcheck source=tests/check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../check.sh"

rm -rf "$work"
certs="$work/Zertifikate für Tests"
medium="$work/Medium Ärger/CD 1"
mkdir -p "$certs" "$medium"
cp "$setup" "$medium/setup.exe"
original=$(sha256sum <"$medium/setup.exe")
password="Pässwort mit Lücke"
export SIGN_PASSWORD=$password

# --- a throw-away authority and its certificates ------------------------------------------

openssl_quietly() { openssl "$@" >>"$certs/openssl.log" 2>&1; }
openssl_quietly req -x509 -newkey rsa:2048 -nodes -keyout "$certs/ca.key" -out "$certs/ca.pem" \
  -days 2 -subj "/CN=Throw-away Test CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
cat >"$certs/ca.cnf" <<EOF
[ ca ]
default_ca = test
[ test ]
database = $certs/index.txt
new_certs_dir = $certs
serial = $certs/serial
default_md = sha256
policy = any
unique_subject = no
copy_extensions = none
[ any ]
commonName = supplied
[ codesign ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
[ server ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
EOF
: >"$certs/index.txt"
echo 1000 >"$certs/serial"

# certificate NAME EXTENSIONS START END: a key and certificate from the authority, in
# NAME.p12 under the test's password.
certificate() {
  local name=$1
  openssl_quietly req -new -newkey rsa:2048 -nodes -keyout "$certs/$name.key" \
    -out "$certs/$name.csr" -subj "/CN=Quillmark Test $name"
  openssl_quietly ca -batch -config "$certs/ca.cnf" -cert "$certs/ca.pem" \
    -keyfile "$certs/ca.key" -in "$certs/$name.csr" -out "$certs/$name.pem" -notext \
    -extensions "$2" -startdate "$3" -enddate "$4"
  printf '%s\n' "$password" | openssl_quietly pkcs12 -export -inkey "$certs/$name.key" \
    -in "$certs/$name.pem" -certfile "$certs/ca.pem" -out "$certs/$name.p12" -passout stdin
}
now=$(date -u +%s)
utc() { date -u -d "@$1" +%Y%m%d%H%M%SZ; }
certificate signer codesign "$(utc $((now - 3600)))" "$(utc $((now + 86400)))"
certificate server server "$(utc $((now - 3600)))" "$(utc $((now + 86400)))"
certificate expired codesign 20200101000000Z 20210101000000Z

# --- signing ------------------------------------------------------------------------------

# The names in folder $1, hidden ones too (a temporary file would be one), on one line.
entries() { find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | paste -sd ' ' -; }

# Every call of openssl and osslsigncode, with its arguments, in $spy_log: the password
# must be in none of them.
spy=$work/spy spy_log=$work/spy/calls.txt
mkdir -p "$spy"
for tool in openssl osslsigncode; do
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\nexec %s "$@"\n' "$spy_log" "$(command -v "$tool")" \
    >"$spy/$tool"
  chmod +x "$spy/$tool"
done

code=0
output=$(PATH="$spy:$PATH" "$sign" --pfx "$certs/signer.p12" \
  "$medium/setup.exe" 2>&1) || code=$?
check "signing with the password from SIGN_PASSWORD (exit code)" 0 "$code"
check "what it prints, first line" \
  "sign.sh: signed $medium/setup-signed.exe ($(stat -c %s "$medium/setup-signed.exe" 2>/dev/null) bytes; $medium/setup.exe left as it was)" \
  "$(head -n 1 <<<"$output")"
check "the original is unchanged" "$original" "$(sha256sum <"$medium/setup.exe")"
check "the signing tools were called" yes "$(grep -q '^sign ' "$spy_log" && echo yes || echo no)"
check "the password in no program's arguments" "" "$(grep -F "$password" "$spy_log" || true)"
check "nothing else in the medium folder" "setup-signed.exe setup.exe" "$(entries "$medium")"

code=0
verification=$(osslsigncode verify -CAfile "$certs/ca.pem" -in "$medium/setup-signed.exe" 2>&1) ||
  code=$?
check "osslsigncode verify against the throw-away authority (exit code)" 0 "$code"
check "the signer it names" "Subject: /CN=Quillmark Test signer" \
  "$(grep -m 1 -o 'Subject: /CN=Quillmark Test signer' <<<"$verification")"

# Without its signature the signed copy is the original again, checksum and all.
osslsigncode remove-signature -in "$medium/setup-signed.exe" -out "$work/unsigned.exe" >/dev/null
check "the signature taken off again gives the original" "$original" "$(sha256sum <"$work/unsigned.exe")"

cp "$medium/setup-signed.exe" "$work/tampered.exe"
printf '\x01' | dd of="$work/tampered.exe" bs=1 seek=4096 conv=notrunc status=none
code=0
osslsigncode verify -CAfile "$certs/ca.pem" -in "$work/tampered.exe" >/dev/null 2>&1 || code=$?
check "one changed byte in the code fails verification (exit code)" 1 "$code"

mkdir -p "$(dirname "$signed_out")"
cp "$medium/setup-signed.exe" "$signed_out"

# The password file may end its line the Windows way; --out names another folder.
printf '%s\r\n' "$password" >"$certs/password file.txt"
mkdir -p "$work/Ausgabe"
code=0
(unset SIGN_PASSWORD && "$sign" --password-file "$certs/password file.txt" \
  --pfx "$certs/signer.p12" --out "$work/Ausgabe/setup.exe" "$medium/setup.exe" >/dev/null) ||
  code=$?
check "signing with --password-file and --out (exit code)" 0 "$code"
code=0
osslsigncode verify -CAfile "$certs/ca.pem" -in "$work/Ausgabe/setup.exe" >/dev/null 2>&1 || code=$?
check "that copy verifies too (exit code)" 0 "$code"

# --- refusals -----------------------------------------------------------------------------

# refused NAME MESSAGE [ENV_ARGUMENT...] -- ARGUMENT...: sign.sh refuses with exit code
# 1 and the one line MESSAGE, and neither the medium folder nor the output folder changes.
refused() {
  local name=$1 message=$2 settings=() before_medium before_out output code=0
  shift 2
  while [ "$1" != -- ]; do
    settings+=("$1")
    shift
  done
  shift
  before_medium=$(entries "$medium") before_out=$(entries "$work/Ausgabe")
  output=$(env "${settings[@]}" "$sign" "$@" 2>&1) || code=$?
  check "$name" "1: $message" "$code: $output"
  check "$name: no file left" "$before_medium | $before_out" \
    "$(entries "$medium") | $(entries "$work/Ausgabe")"
}
out=$work/Ausgabe/signed.exe
pfx=$certs/signer.p12

refused "a wrong password" "sign.sh: wrong password for $pfx" \
  SIGN_PASSWORD=wrong -- --pfx "$pfx" --out "$out" "$medium/setup.exe"
refused "no password at all" \
  "sign.sh: no password for $pfx: set SIGN_PASSWORD or give --password-file FILE" \
  -u SIGN_PASSWORD -- --pfx "$pfx" --out "$out" "$medium/setup.exe"
refused "a certificate for web servers" \
  "sign.sh: the certificate in $certs/server.p12 (CN=Quillmark Test server) is not for code signing (it is for: TLS Web Server Authentication)" \
  -- --pfx "$certs/server.p12" --out "$out" "$medium/setup.exe"
refused "an expired certificate" \
  "sign.sh: the certificate in $certs/expired.p12 (CN=Quillmark Test expired) expired on Jan  1 00:00:00 2021 GMT" \
  -- --pfx "$certs/expired.p12" --out "$out" "$medium/setup.exe"
refused "a time-stamp server that cannot be reached" \
  "sign.sh: no time stamp from http://127.0.0.1:1/ (the server cannot be reached or refused); nothing written" \
  -- --pfx "$pfx" --timestamp http://127.0.0.1:1/ --out "$out" "$medium/setup.exe"
refused "an output folder that does not exist" \
  "sign.sh: the output folder $work/nowhere does not exist" \
  -- --pfx "$pfx" --out "$work/nowhere/signed.exe" "$medium/setup.exe"
refused "an output file that exists" \
  "sign.sh: $medium/setup-signed.exe exists; give --force to replace it" \
  -- --pfx "$pfx" "$medium/setup.exe"
refused "a program that is not one" "sign.sh: $certs/ca.pem is not a Windows program" \
  -- --pfx "$pfx" --out "$out" "$certs/ca.pem"

code=0
output=$("$sign" --pfx "$pfx" --password "$password" "$medium/setup.exe" 2>&1) || code=$?
check "a password on the command line is a usage error (exit code, first line)" \
  "2: sign.sh: the password is not taken from the command line; set SIGN_PASSWORD or give --password-file FILE" \
  "$code: $(head -n 1 <<<"$output")"

touch -d 2001-01-01 "$medium/setup-signed.exe"
code=0
"$sign" --pfx "$pfx" --force "$medium/setup.exe" >/dev/null || code=$?
check "--force replaces an existing signed copy (exit code, year of the file)" "0 $(date +%Y)" \
  "$code $(date -r "$medium/setup-signed.exe" +%Y)"

echo
[ "$failures" -eq 0 ] || {
  echo "$failures check(s) failed"
  exit 1
}
echo "all checks passed"
