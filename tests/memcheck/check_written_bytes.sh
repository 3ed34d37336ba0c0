#!/usr/bin/env bash
# Every byte an export writes to a file was set by its encoder: the encoders write files from memory
# that nobody cleared, and memcheck reports a write() of bytes that were never set. Each symbol goes
# out in every file format, upright and turned.
#   check_written_bytes.sh VALGRIND VARNEL_TOOL
set -euo pipefail

valgrind=$1
varnel=$2
# A machine where valgrind cannot run a program at all has nothing to say about ours.
if ! "$valgrind" --quiet --error-exitcode=9 true >/dev/null 2>&1; then
  echo "valgrind cannot run programs on this machine"
  exit 77
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

status=0
while read -r symbology data options; do
  for degrees in 0 90; do
    for format in bmp png wmf emf svg; do
      picture="$folder/picture.$format"
      rm -f "$picture"
      # shellcheck disable=SC2086  # the options are words
      if ! "$valgrind" --quiet --error-exitcode=9 "$varnel" -s "$symbology" --orientation "$degrees" $options \
        -o "$picture" "$data" >/dev/null 2>"$folder/memcheck.txt" || [[ ! -s "$picture" ]]; then
        echo "FAILED: $symbology at $degrees degrees as .$format"
        cat "$folder/memcheck.txt"
        status=1
      fi
    done
  done
done <<'SYMBOLS'
ean13 590123412345 --addon 52495 --frame dashed
code128 Varnel-128 --frame solid --bar-color #204080
postnet 555551237 --check
SYMBOLS
exit "$status"
