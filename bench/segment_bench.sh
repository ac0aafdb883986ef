#!/usr/bin/env bash
# Japanese words by dictionary: checks the count against the mecab command
# and times it against the mecab command alone on the same text.
# Usage: bench/segment_bench.sh [--runs N]
#   builds vorlan-count (build/), prepares the corpora (bench/make_corpora.sh)
#   and manja-utf8.txt, the Shift-JIS manual pages converted back to UTF-8
#   (12 MB), then:
#   1. checks that --segment=dictionary and --segment=lemma on manja-sjis.txt
#      count exactly the words the mecab command finds in the same classic
#      words, each handed to it alone, symbols dropped (bench/segment_check.py),
#      and that the one-core count (VORLAN_THREADS=1) writes the same report;
#   2. times with hyperfine (medians): mecab alone on manja-utf8.txt, and
#      vorlan-count --segment=dictionary on manja-utf8.txt (--encoding=utf8)
#      and on manja-sjis.txt, --segment=lemma and --segment=type on
#      manja-sjis.txt.
# The figures go to bench/out/segment-<UTC time>/summary.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=5
case ${1:-} in
  --runs) runs=${2:?"usage: bench/segment_bench.sh [--runs N]"} ;;
  "") ;;
  *) echo "usage: bench/segment_bench.sh [--runs N]" >&2; exit 2 ;;
esac
dic=/var/lib/mecab/dic/ipadic-utf8
for tool in cmake hyperfine python3 mecab iconv; do
  command -v "$tool" >/dev/null || { echo "segment_bench: $tool: not installed (see scripts/setup)" >&2; exit 1; }
done
[ -r "$dic/dicrc" ] || { echo "segment_bench: $dic: not installed (mecab-ipadic-utf8)" >&2; exit 1; }

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
nice cmake --build build -j2 --target vorlan-count tesmo >/dev/null
bash bench/make_corpora.sh >/dev/null
sjis=$root/bench/corpora/manja-sjis.txt
utf8=$root/bench/corpora/manja-utf8.txt
if [ ! -s "$utf8" ]; then
  iconv -f CP932 -t UTF-8 "$sjis" >"$utf8.tmp"
  mv "$utf8.tmp" "$utf8"
fi

out=bench/out/segment-$(date -u +%Y%m%dT%H%M%SZ)
mkdir -p "$out"
: >"$out/empty.ini" # built-in options, whatever the user's profile says
count="$root/build/bin/vorlan-count --profile=$root/$out/empty.ini"
summary=$out/summary.txt
{
  echo "corpus: manja-sjis.txt $(stat -c %s "$sjis") bytes, manja-utf8.txt $(stat -c %s "$utf8") bytes"
  for mode in dictionary lemma; do
    $count --segment=$mode --order=abc "$sjis" >"$out/$mode.txt"
    printf '%s vs mecab: ' "$mode"
    python3 bench/segment_check.py build/lib/libtesmo.so "$dic" "$sjis" "$out/$mode.txt" $mode ||
      echo "  DIFFERENT"
  done
  if VORLAN_THREADS=1 $count --segment=dictionary --order=abc "$sjis" | cmp -s - "$out/dictionary.txt"; then
    echo "one core: same report"
  else
    echo "one core: DIFFERENT report"
  fi
} | tee "$summary"

hyperfine -N -w 1 -r "$runs" --export-json "$out/times.json" \
  -n "mecab utf8" "mecab -r $dic/dicrc -d $dic $utf8" \
  -n "dictionary utf8" "$count --segment=dictionary --encoding=utf8 $utf8" \
  -n "dictionary sjis" "$count --segment=dictionary $sjis" \
  -n "lemma sjis" "$count --segment=lemma $sjis" \
  -n "type sjis" "$count --segment=type $sjis" >/dev/null
python3 - "$out/times.json" <<'PY' | tee -a "$summary"
import json, sys
results = json.load(open(sys.argv[1]))["results"]
mecab = results[0]["median"]
for r in results:
    print(f"{r['command']:16} median {r['median']:.3f} s  user {r['user']:.3f} s  "
          f"mecab/this {mecab / r['median']:.2f}")
PY
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$summary"
