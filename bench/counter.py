#!/usr/bin/env python3
"""The plain Python peer of vorlan-count: counts the words of the files given
(a folder stands for its *.txt files) with collections.Counter and prints
them, most frequent first, as "count word" lines."""
import collections
import pathlib
import re
import sys

WORD = re.compile(rb"[A-Za-z]+")


def files(args):
    for arg in args:
        path = pathlib.Path(arg)
        yield from sorted(path.glob("*.txt")) if path.is_dir() else [path]


def main(args):
    if not args:
        sys.exit("usage: counter.py FILE|FOLDER...")
    counts = collections.Counter()
    for path in files(args):
        counts.update(WORD.findall(path.read_bytes()))
    out = sys.stdout.buffer
    for word, n in counts.most_common():
        out.write(b"%d %s\n" % (n, word))


if __name__ == "__main__":
    main(sys.argv[1:])
