#!/usr/bin/env python3
"""Writes the Markdown table of one scripts/bench run from the files in its
output folder: the hyperfine JSON of each group (commands named by their
key), rss.txt (peak RSS in KiB by group and key) and gui-*.json."""
import json
import os
import sys

# Each group: its corpus as the table names it, the key of the peer that the
# ratios divide by, and its rows: key, label, target ratio or None.
ORDERS = [("abc", 0.4), ("zyx", 0.5), ("tail", 0.5), ("freq", 0.45), ("lowfreq", 0.5)]
# (A bar inside a table cell is written \|, even in code.)
PEERS = [("wc-w", "`LC_ALL=C wc -w`", None),
         ("pipeline", r"`tr \| tr \| sort \| uniq -c \| sort -rn`", None),
         ("python", "`counter.py`", None)]
ONE_CORE = "`--order=abc`, `VORLAN_THREADS=1`"
GROUPS = [
    ("kjv10", "kjv10", "wc-w",
     PEERS + [(o, f"`--order={o}`", t) for o, t in ORDERS] + [("abc-1core", ONE_CORE, None)]),
    ("kjv20", "kjv20/ (20 files)", "wc-w",
     PEERS + [("abc", "`--order=abc`", None), ("abc-1core", ONE_CORE, None)]),
    ("distinct1m", "distinct1m", "sort-f",
     [("sort-f", "`LC_ALL=C sort -f`", None), ("abc", "`--order=abc`", 2)]),
    ("words", "american-english", "wc-w",
     [("wc-w", "`LC_ALL=C wc -w`", None), ("abc", "`--order=abc`", None),
      ("freq", "`--order=freq`", None)]),
    ("sjis", "manja-sjis", "wc-w",
     [("wc-w", "`LC_ALL=C wc -w`", None), ("abc", "`--order=abc`", None),
      ("freq", "`--order=freq`", None)]),
] + [
    (g, name, "sort-f",
     [("sort-f", "`LC_ALL=C sort -f`", None),
      ("sort-uniq", r"`sort -f \| uniq -ic`", None),
      ("abc", "`--order=abc`", target), ("abc-1core", ONE_CORE, None)])
    for g, name, target in [("shuffled1m", "shuffled1m", None),
                            ("shuffled5m", "shuffled5m", 1.5),
                            ("sorted5m", "sorted5m", None)]
]
# The large vocabularies: peak RSS at most this times sort -f's.
RSS_TARGETS = {("shuffled5m", "abc"): 1.5}


def main(out, runs, reports, threads, corpora, load_start, load_end, ipw):
    rss = {}
    with open(f"{out}/rss.txt") as f:
        lines = [line.split() for line in f]
    order = [(g, key) for g, _, _, rows in GROUPS for key, _, _ in rows]
    for (g, key), (name, kib) in zip(order, lines):
        assert name == key, f"rss.txt: {name} where {key} was due"
        rss[g, key] = int(kib)

    print(f"Medians of {runs} runs (wall ms), each group side by side in one hyperfine run; "
          "CPU ms is the mean user + system time of all threads; ratio = median / the "
          "group's peer's median (the first row), CPU ratio = CPU ms / the peer's; peak RSS of "
          "the largest process. Load average (1, 5, 15 min) on the two cores: "
          f"{load_start} at the start, {load_end} at the end. Reports {reports}; reports "
          f"{threads}; {corpora}.")
    print()
    print("| corpus | command | median ms | CPU ms | ratio | CPU ratio | target | met "
          "| peak RSS MiB |")
    print("|---|---|---|---|---|---|---|---|---|")
    medians = {}
    for g, name, peer, rows in GROUPS:
        results = {r["command"]: r for r in json.load(open(f"{out}/{g}.json"))["results"]}
        p = results[peer]
        for key, label, target in rows:
            r = results[key]
            medians[g, key] = r["median"]
            ratio = r["median"] / p["median"]
            cpu = r["user"] + r["system"]
            cpu_ratio = cpu / (p["user"] + p["system"])
            met = "" if target is None else ("yes" if ratio <= target else "no")
            print(f"| {name} | {label} | {r['median']*1000:.0f} | {cpu*1000:.0f} | "
                  f"{ratio:.2f} | {cpu_ratio:.2f} | {'' if target is None else f'{target:g}'} | "
                  f"{met} | {rss[g, key]/1024:.1f} |")

    print()
    print("Speed-up of the count on several cores: median with `VORLAN_THREADS=1` / median "
          "with the default, `--order=abc`:")
    print()
    print("| corpus | one core ms | default ms | speed-up |")
    print("|---|---|---|---|")
    for g, name in [("kjv10", "kjv10"), ("kjv20", "kjv20/ (20 files)"),
                    ("shuffled1m", "shuffled1m"), ("shuffled5m", "shuffled5m"),
                    ("sorted5m", "sorted5m")]:
        one, default = medians[g, "abc-1core"], medians[g, "abc"]
        print(f"| {name} | {one*1000:.0f} | {default*1000:.0f} | {one/default:.2f} |")

    print()
    print("Large vocabularies: the cost per word as the vocabulary grows five times "
          "(target at most 6), and the peak memory against `LC_ALL=C sort -f`'s "
          "(target at most 1.5 on shuffled5m):")
    print()
    print("| command | 5M / 1M time | peak RSS / sort -f's (shuffled5m) |")
    print("|---|---|---|")
    for key, label in [("sort-f", "`LC_ALL=C sort -f`"), ("abc", "`--order=abc`"),
                       ("abc-1core", ONE_CORE)]:
        growth = medians["shuffled5m", key] / medians["shuffled1m", key]
        memory = rss["shuffled5m", key] / rss["shuffled5m", "sort-f"]
        print(f"| {label} | {growth:.2f} | {memory:.2f} |")

    gui = [(n, f"{out}/gui-{g}.json") for g, n in [("kjv10", "kjv10"),
                                                   ("kjv20", "kjv20/ (20 files)")]]
    if all(os.path.exists(path) for _, path in gui):
        print()
        print("The desktop program's count (`bench_gui_count`, offscreen; built-in options but "
              "`--order=abc`): from the Select Files dialog's OK to the drawn report, against "
              "the engine alone on the same files in the same process, taking turns; "
              f"medians of {runs} runs:")
        print()
        print("| corpus | engine ms | desktop ms | ratio | target | met |")
        print("|---|---|---|---|---|---|")
        for name, path in gui:
            r = json.load(open(path))
            ok = "yes" if r["ratio"] <= 1.25 else "no"
            print(f"| {name} | {r['headless_median_ms']:.0f} | {r['gui_median_ms']:.0f} | "
                  f"{r['ratio']:.2f} | 1.25 | {ok} |")
    if ipw:
        print()
        print(f"Instructions per word (callgrind, `--order=abc`, one copy of the KJV): {ipw}.")


if __name__ == "__main__":
    main(*sys.argv[1:9])
