#!/usr/bin/env bash
# Prepares the benchmark corpora in bench/corpora/ (not versioned):
#   kjv10.txt       the King James Bible (Debian package bible-kjv) ten times, ~43 MB
#   distinct1m.txt  one million distinct lower-case words (3 to 12 letters,
#                   pseudo-random but fixed), one per line in ascending order:
#                   a word list, the worst order for an unbalanced tree
#   mixed.txt       the first tenth of kjv10.txt with words changed at random (fixed
#                   seed): letter case, Shift-JIS pairs whose second byte is a
#                   letter, high bytes, repeated words longer than 16 bytes, numbers;
#                   checks that the word table keeps its comparison, not a speed target
#   american-english.txt  the word list of Debian package wamerican, as it is
#   manja-sjis.txt  the Japanese manual pages of Debian package manpages-ja (roff
#                   source), in file name order, converted from UTF-8 to Shift-JIS
#                   (CP932), ~10 MB
#   kjv20/          kjv01.txt .. kjv20.txt, each one copy of the KJV (~4.3 MB):
#                   the many-file count
#   shuffled1m.txt, shuffled5m.txt  the words w0000000 .. w0999999 (w4999999),
#                   one per line, shuffled with a fixed seed: a vocabulary that
#                   grows with the text, in no order
#   sorted5m.txt    w0000000 .. w4999999 in ascending order
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
mixed=corpora/mixed.txt
if [ ! -s "$mixed" ]; then
  tmp=$(mktemp corpora/mixed.XXXXXX)
  trap 'rm -f "$tmp"' EXIT
  head -n $(( $(wc -l <"$kjv") / 10 )) "$kjv" | python3 -c '
import random, sys
rng = random.Random(7)
out, line = [], []
def mutate(w):
    r = rng.random()
    if r < 0.2: return w.upper()
    if r < 0.35: return w.capitalize()
    if r < 0.40: return bytes(c ^ 0x20 if chr(c).isalpha() and rng.random() < 0.5 else c for c in w)
    if r < 0.45: return w + b"\x83" + bytes([rng.choice([0x41, 0x61, 0x5A, 0x7A])])
    if r < 0.48: return bytes(rng.randrange(0x80, 0x100) for _ in range(rng.randint(1, 6))) + w
    if r < 0.50: return w * rng.randint(2, 6)
    if r < 0.52: return b"%d.%d" % (rng.randint(0, 99), rng.randint(0, 999))
    return w
for w in sys.stdin.buffer.read().split():
    line.append(mutate(w))
    if rng.random() < 0.1:
        out.append(b" ".join(line))
        line = []
sys.stdout.buffer.write(b"\n".join(out) + b"\n")
' >"$tmp"
  chmod 644 "$tmp"
  mv "$tmp" "$mixed"
fi

# Puts what the commands given write into $1, through a temporary file, so that
# an interrupted run leaves no half-made corpus behind.
make_file() { # target, command...
  local target=$1 tmp
  shift
  tmp=$(mktemp "$target.XXXXXX")
  if ! "$@" >"$tmp"; then
    rm -f "$tmp"
    echo "make_corpora: $target: could not be made" >&2
    exit 1
  fi
  chmod 644 "$tmp"
  mv "$tmp" "$target"
}

words=corpora/american-english.txt
if [ ! -s "$words" ]; then
  dict=/usr/share/dict/american-english
  [ -r "$dict" ] || { echo "make_corpora: $dict: not installed (Debian package wamerican)" >&2; exit 1; }
  make_file "$words" cat "$dict"
fi

sjis=corpora/manja-sjis.txt
if [ ! -s "$sjis" ]; then
  if ! dpkg-query -W -f='${Status}' manpages-ja 2>/dev/null | grep -q 'ok installed'; then
    echo "make_corpora: manpages-ja: not installed" >&2
    exit 1
  fi
  manja() {
    # Every page once, in a fixed order; characters Shift-JIS lacks are left
    # out, and so is Ctrl+Z (one page has it), which ends a text file.
    dpkg -L manpages-ja | grep '^/usr/share/man/ja/.*\.gz$' | LC_ALL=C sort |
      while read -r page; do zcat "$page" | iconv -c -f UTF-8 -t CP932 || true; done |
      tr -d '\032'
  }
  make_file "$sjis" manja
fi

folder=corpora/kjv20
if [ ! -s "$folder/kjv20.txt" ]; then
  mkdir -p "$folder"
  one() { head -n $(( $(wc -l <"$kjv") / 10 )) "$kjv"; }
  for i in $(seq -w 1 20); do make_file "$folder/kjv$i.txt" one; done
fi
# Large vocabularies: N distinct words w%07d, one per line, shuffled with a
# fixed seed or in ascending order.
vocabulary() { # count, shuffle (1) or not (0)
  python3 -c '
import random, sys
n, shuffle = int(sys.argv[1]), sys.argv[2] == "1"
words = ["w%07d" % i for i in range(n)]
if shuffle:
    random.Random(n).shuffle(words)
sys.stdout.write("\n".join(words) + "\n")
' "$1" "$2"
}
[ -s corpora/shuffled1m.txt ] || make_file corpora/shuffled1m.txt vocabulary 1000000 1
[ -s corpora/shuffled5m.txt ] || make_file corpora/shuffled5m.txt vocabulary 5000000 1
[ -s corpora/sorted5m.txt ] || make_file corpora/sorted5m.txt vocabulary 5000000 0
ls -l corpora corpora/kjv20
