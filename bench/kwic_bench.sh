#!/usr/bin/env bash
# Times the concordance and checks that its memory stays flat.
# Usage: bench/kwic_bench.sh OUT RUNS "COUNT COMMAND" KJV10 KJV20_FOLDER
#   times, in one hyperfine run so that they share the machine's load,
#     vorlan-count --kwic=the --format=tsv KJV10    (about 640,000 rows)
#     the plain count of KJV10, and LC_ALL=C grep -n -b -o -i -w the KJV10,
#   each writing through a pipe (grep stops at its first hit when its output
#   is /dev/null); then takes the peak RSS of the concordance on one, ten and
#   twenty copies of the KJV. Writes OUT/kwic.json and OUT/kwic_rss.txt and
#   prints the Markdown rows of the table.
set -euo pipefail
[ $# -eq 5 ] || { sed -n '3p' "$0" >&2; exit 2; }
out=$1 runs=$2 count=$3 kjv=$4 folder=$5

kwic="$count --kwic=the --format=tsv"
hyperfine -N -w 1 -r "$runs" --output=pipe --export-json "$out/kwic.json" \
  -n count "$count $kjv" \
  -n grep "env LC_ALL=C grep -n -b -o -i -w the $kjv" \
  -n kwic "$kwic $kjv" >/dev/null

rss() { # name, arguments
  local name=$1; shift
  /usr/bin/time -f %M -o "$out/kwic_rss.tmp" $kwic "$@" >/dev/null
  echo "$name $(tail -1 "$out/kwic_rss.tmp")" >>"$out/kwic_rss.txt"
}
: >"$out/kwic_rss.txt"
rss kjv01 "$folder/kjv01.txt"
rss kjv10 "$kjv"
rss kjv20 "$folder" '*.txt'
rm -f "$out/kwic_rss.tmp"

python3 - "$out" <<'PY'
import json, sys
out = sys.argv[1]
t = {r["command"]: sorted(r["times"])[len(r["times"]) // 2]
     for r in json.load(open(f"{out}/kwic.json"))["results"]}
rss = dict(line.split() for line in open(f"{out}/kwic_rss.txt"))
mib = {k: int(v) / 1024 for k, v in rss.items()}
print("\n| concordance, kjv10 | median s | x count | x grep | target |")
print("|---|---:|---:|---:|---|")
print(f"| plain count | {t['count']:.3f} | 1.00 | {t['count'] / t['grep']:.2f} | |")
print(f"| `LC_ALL=C grep -n -b -o -i -w the` | {t['grep']:.3f} | "
      f"{t['grep'] / t['count']:.2f} | 1.00 | |")
print(f"| `--kwic=the --format=tsv` | {t['kwic']:.3f} | {t['kwic'] / t['count']:.2f} | "
      f"{t['kwic'] / t['grep']:.2f} | <= 3 x count, < 1 x grep |")
print(f"\nPeak RSS of `--kwic=the --format=tsv`: {mib['kjv01']:.1f} MiB on one copy of the "
      f"KJV, {mib['kjv10']:.1f} MiB on ten, {mib['kjv20']:.1f} MiB on `kjv20/` (twenty files).")
PY
