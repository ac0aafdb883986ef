#!/usr/bin/env bash
# Prepares the benchmark corpora in bench/corpora/ (not versioned):
#   kjv10.txt       the King James Bible (Debian package bible-kjv) ten times, ~43 MB
#   distinct1m.txt  one million distinct lower-case words (3 to 12 letters,
#                   pseudo-random but fixed), one per line in ascending order:
#                   a word list, the worst order for an unbalanced tree
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

distinct=corpora/distinct1m.txt
if [ ! -s "$distinct" ]; then
  tmp=$(mktemp corpora/distinct.XXXXXX)
  trap 'rm -f "$tmp"' EXIT
  # A fixed seed and Python's Mersenne Twister make the same file everywhere.
  python3 - >"$tmp" <<'PY'
import random, sys
rng = random.Random(20261207)
words = set()
letters = "abcdefghijklmnopqrstuvwxyz"
while len(words) < 1_000_000:
    words.add("".join(rng.choices(letters, k=rng.randint(3, 12))))
sys.stdout.write("\n".join(sorted(words)) + "\n")
PY
  chmod 644 "$tmp"
  mv "$tmp" "$distinct"
fi
ls -l corpora
