#!/usr/bin/env bash
# Signs one Windows program in place: Authenticode, SHA-256, time-stamped when a time-stamp server is
# named. The signed copy is written beside it and renamed over, so a failure leaves the file as it was
# and ends with a non-zero status (makensis and the build stop on it).
#   sign_file.sh CERT KEY FILE [TIMESTAMP_URL]     (an empty TIMESTAMP_URL is none)
set -euo pipefail
(($# == 3 || $# == 4)) || { echo "usage: sign_file.sh CERT KEY FILE [TIMESTAMP_URL]" >&2; exit 2; }
cert=$1 key=$2 file=$3 timestamp_url=${4:-}
signed=$file.signed
timestamp=()
[[ -n $timestamp_url ]] && timestamp=(-ts "$timestamp_url")
rm -f "$signed"
if ! osslsigncode sign -certs "$cert" -key "$key" -n Kovaren -h sha256 "${timestamp[@]}" \
  -in "$file" -out "$signed" >"$signed.log" 2>&1; then
  echo "sign: could not sign $file:" >&2
  cat "$signed.log" >&2
  rm -f "$signed" "$signed.log"
  exit 1
fi
rm -f "$signed.log"
mv -f "$signed" "$file"
