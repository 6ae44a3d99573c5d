#!/usr/bin/env bash
# Signs a copy of setup.exe with the vendor's code-signing certificate (Authenticode,
# SHA-256), so that the elevation prompt names the vendor instead of "Unknown". The
# certificate and its key come as a PKCS#12 file (.p12 or .pfx). The original is only
# read; the signed copy appears all at once, written to a temporary file beside it and
# then renamed.
#
# The password is taken from the file given with --password-file (its first line) or from
# the environment variable SIGN_PASSWORD, never from the command line, and it reaches
# openssl and osslsigncode through a pipe, not through their arguments.
#
# usage: sign.sh --pfx CERT.p12 [--timestamp URL] [--out SIGNED.exe]
#                [--password-file FILE] [--force] SETUP.exe
#   --timestamp URL   an RFC 3161 time-stamp server: the signature then stays valid after
#                     the certificate has expired
#   --out SIGNED.exe  where the signed copy goes; by default <name>-signed.exe beside
#                     SETUP.exe (setup-signed.exe for setup.exe)
#   --force           replace SIGNED.exe if it exists
# exit code: 0 signed, 1 not signed (nothing written), 2 usage error
set -euo pipefail
# Dates from openssl in one format whatever the caller's locale; names are bytes.
export LC_ALL=C
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

me=$(basename "$0")
usage="usage: $me --pfx CERT.p12 [--timestamp URL] [--out SIGNED.exe] [--password-file FILE] [--force] SETUP.exe"
# The program name the elevation prompt shows for a signed program.
description="Quillmark Installer -- USB 2.0 Adapter"
timestamp_limit=120

pfx='' timestamp='' out='' password_file='' force=false input=''
while [ $# -gt 0 ]; do
  case $1 in
    --pfx | --timestamp | --out | --password-file)
      [ $# -ge 2 ] || usage_error "$1 needs a value"
      case $1 in
        --pfx) pfx=$2 ;;
        --timestamp) timestamp=$2 ;;
        --out) out=$2 ;;
        --password-file) password_file=$2 ;;
      esac
      shift 2
      ;;
    --force) force=true && shift ;;
    --password | --pass | -pass) usage_error "the password is not taken from the command line; set SIGN_PASSWORD or give --password-file FILE" ;;
    -h | --help) echo "$usage" && exit 0 ;;
    -*) usage_error "unknown option $1" ;;
    *)
      [ -z "$input" ] || usage_error "one program at a time ($input, $1)"
      input=$1 && shift
      ;;
  esac
done
[ -n "$input" ] || usage_error "which program? name SETUP.exe"
[ -n "$pfx" ] || usage_error "the certificate is missing: give --pfx CERT.p12"
if [ -n "$timestamp" ] && ! [[ $timestamp =~ ^https?://[^[:space:]]+$ ]]; then
  usage_error "--timestamp wants an http:// or https:// address, not $timestamp"
fi

for tool in openssl osslsigncode; do
  command -v "$tool" >/dev/null || die "$tool is not installed (Debian: apt-get install $tool)"
done

# --- what is signed and where the copy goes -----------------------------------------------

[ -e "$input" ] || die "$input does not exist"
[ -f "$input" ] || die "$input is not a file"
[ "$(head -c 2 "$input")" = MZ ] || die "$input is not a Windows program"
[ -f "$pfx" ] || die "the certificate file $pfx does not exist"
[ -r "$pfx" ] || die "the certificate file $pfx cannot be read"
if [ -z "$out" ]; then
  name=$(basename "$input")
  stem=$name
  [[ ${name,,} != *.exe ]] || stem=${name:0:${#name}-4}
  out=$(dirname "$input")/$stem-signed.exe
fi
out_folder=$(dirname "$out")
[ -d "$out_folder" ] || die "the output folder $out_folder does not exist"
[ ! -d "$out" ] || die "$out is a folder"
if [ -e "$out" ] && ! $force; then
  die "$out exists; give --force to replace it"
fi
if [ "$(realpath -m "$out")" = "$(realpath "$input")" ]; then
  die "the signed copy cannot replace $input itself; name another --out"
fi

# --- the password -------------------------------------------------------------------------

if [ -n "$password_file" ]; then
  if [ ! -f "$password_file" ] || [ ! -r "$password_file" ]; then
    die "the password file $password_file cannot be read"
  fi
  password=
  IFS= read -r password <"$password_file" || true
  password=${password%$'\r'}
elif [ -n "${SIGN_PASSWORD+set}" ]; then
  password=$SIGN_PASSWORD
else
  die "no password for $pfx: set SIGN_PASSWORD or give --password-file FILE"
fi

# Everything temporary lives in one folder beside the signed copy, so that the last step is
# a rename within one file system; it goes, whatever happens.
work=$(mktemp -d "$out_folder/.sign.XXXXXX") || die "cannot write in the output folder $out_folder"
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP

# --- the certificate ----------------------------------------------------------------------

# The certificate that goes with the key, as PEM; older files need OpenSSL's legacy
# algorithms (RC2) to be opened.
leaf_certificate() {
  printf '%s\n' "$password" | openssl pkcs12 "$@" -in "$pfx" -nokeys -clcerts -passin stdin \
    2>"$work/openssl.log"
}
legacy=false
if ! certificate=$(leaf_certificate) || [ -z "$certificate" ]; then
  if grep -q 'invalid password' "$work/openssl.log"; then
    die "wrong password for $pfx"
  elif ! grep -q 'unsupported' "$work/openssl.log" ||
    ! certificate=$(leaf_certificate -legacy) || [ -z "$certificate" ]; then
    die "$pfx is not a PKCS#12 file with a certificate and its key"
  fi
  legacy=true
fi
field() { openssl x509 -noout "$@" -nameopt RFC2253 <<<"$certificate" 2>/dev/null; }
subject=$(field -subject) && subject=${subject#subject=}
issuer=$(field -issuer) && issuer=${issuer#issuer=}
not_before=$(field -startdate) && not_before=${not_before#notBefore=}
not_after=$(field -enddate) && not_after=${not_after#notAfter=}
usages=$(field -ext extendedKeyUsage,keyUsage) || true

# Windows accepts an Authenticode signature only from a certificate whose extended key
# usage names code signing and whose key usage, if it has one, allows signatures.
if ! grep -q 'Extended Key Usage' <<<"$usages"; then
  die "the certificate in $pfx ($subject) is not for code signing: it names no extended key usage"
fi
if ! grep -qx '[[:space:]]*\(.*, \)\?Code Signing\(, .*\)\?' <<<"$usages"; then
  listed=$(sed -n '/Extended Key Usage/{n;s/^[[:space:]]*//;p}' <<<"$usages")
  die "the certificate in $pfx ($subject) is not for code signing (it is for: $listed)"
fi
if grep -q 'X509v3 Key Usage' <<<"$usages" && ! grep -q 'Digital Signature' <<<"$usages"; then
  die "the certificate in $pfx ($subject) is not for code signing: its key may not sign"
fi
if ! field -checkend 0 >/dev/null; then
  die "the certificate in $pfx ($subject) expired on $not_after"
fi
if [ "$(date -d "$not_before" +%s)" -gt "$(date +%s)" ]; then
  die "the certificate in $pfx ($subject) is not valid before $not_before"
fi

# --- signing ------------------------------------------------------------------------------

# Signs $input into $1, with a time stamp when one is asked for and $2 is not "plain".
sign_into() {
  local arguments=(sign -pkcs12 "$pfx" -h sha256 -n "$description")
  [ "${2:-}" = plain ] || [ -z "$timestamp" ] || arguments+=(-ts "$timestamp")
  # osslsigncode takes no password at all when it is given none, which is also how a
  # file without one is opened; an empty password cannot come through -readpass.
  if [ -n "$password" ]; then
    printf '%s' "$password" |
      timeout "$timestamp_limit" osslsigncode "${arguments[@]}" -readpass /dev/stdin \
        -in "$input" -out "$1"
  else
    timeout "$timestamp_limit" osslsigncode "${arguments[@]}" -in "$input" -out "$1" </dev/null
  fi
}

signed=$work/signed.exe
code=0
sign_into "$signed" >"$work/osslsigncode.log" 2>&1 || code=$?
if [ "$code" -ne 0 ]; then
  if [ -n "$timestamp" ]; then
    [ "$code" -ne 124 ] || die "the time-stamp server $timestamp did not answer within $timestamp_limit s; nothing written"
    # Whether the time stamp was the trouble: the same signature without one.
    if sign_into "$work/plain.exe" plain >/dev/null 2>&1; then
      die "no time stamp from $timestamp (the server cannot be reached or refused); nothing written"
    fi
  fi
  if $legacy; then
    die "$pfx uses the old RC2 encryption, which this osslsigncode cannot open; export it anew: openssl pkcs12 -legacy -in OLD.p12 -nodes | openssl pkcs12 -export -out NEW.p12"
  fi
  reason=$(grep -m 1 -i 'fail\|error\|wrong\|unable' "$work/osslsigncode.log" || true)
  die "osslsigncode could not sign $input: ${reason:-exit code $code}; nothing written"
fi
[ -s "$signed" ] || die "osslsigncode wrote no signed copy of $input; nothing written"
chmod --reference="$input" "$signed"

publish "$signed" "$out" "$force"

size=$(stat -c %s "$out")
printf '%s: signed %s (%s bytes; %s left as it was)\n' "$me" "$out" "$size" "$input"
printf '  certificate: %s, issued by %s, valid until %s\n' "$subject" "$issuer" "$not_after"
if [ -n "$timestamp" ]; then
  printf '  time stamp: from %s\n' "$timestamp"
else
  printf '  time stamp: none (the signature counts only while the certificate is valid)\n'
fi
