#!/usr/bin/env bash
# Prepares the benchmark corpora in bench/corpora/ (not versioned):
#   kjv10.txt  the King James Bible (Debian package bible-kjv) ten times, ~43 MB
# Idempotent: a corpus that already exists is left alone.
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p corpora

kjv=corpora/kjv10.txt
if [ ! -s "$kjv" ]; then
  if ! command -v bible >/dev/null; then
    echo "make_corpora: bible: not installed (Debian package bible-kjv)" >&2
    exit 1
  fi
  tmp=$(mktemp corpora/kjv.XXXXXX)
  trap 'rm -f "$tmp" "$tmp.1"' EXIT
  # Every verse from the first to the last, the tool's default layout.
  bible Gen1:1-Rev22:21 </dev/null >"$tmp.1"
  for _ in 1 2 3 4 5 6 7 8 9 10; do cat "$tmp.1"; done >"$tmp"
  chmod 644 "$tmp"
  mv "$tmp" "$kjv"
  rm -f "$tmp.1"
fi
ls -l corpora
