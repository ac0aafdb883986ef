#!/usr/bin/env python3
"""Checks a count by dictionary against the mecab command.

Usage: segment_check.py LIBTESMO DICDIR CORPUS REPORT [lemma]

CORPUS is a Shift-JIS (code page 932) file, REPORT the report vorlan-count
wrote for it with --segment=dictionary (or lemma) --order=abc. The classic
words of the corpus are taken as the count takes them (text-mode lines in
pieces of at most 5,119 bytes, trailing spaces dropped, strword from
libtesmo); each one with a byte from 0x80 is handed to the mecab command
alone, and its words, symbols (記号) dropped, are counted in its place; a
word that does not convert is counted whole. Prints how many distinct words
(A-Z folded, as the word table folds them) have the same count on both
sides, and the first few that differ; exits 1 when any differs.
"""
import collections
import ctypes
import subprocess
import sys

PIECE = 5119


class State(ctypes.Structure):
    _fields_ = [("next", ctypes.c_void_p), ("begin", ctypes.c_void_p),
                ("limit", ctypes.c_void_p), ("window_base", ctypes.c_void_p),
                ("window_stops", ctypes.c_ulonglong), ("pending_stops", ctypes.c_ulonglong)]


def fold(word):
    return bytes(b + 32 if 0x41 <= b <= 0x5A else b for b in word)


def lines_of(data):
    data = data.split(b"\x1a", 1)[0].replace(b"\r", b"")
    for line in data.split(b"\n"):
        whole = line + b"\n"
        for at in range(0, len(whole), PIECE):
            piece = whole[at:at + PIECE].split(b"\0", 1)[0]
            piece = piece.rstrip(b"\n").rstrip(b" ")
            if piece:
                yield piece


def classic_words(tesmo, data):
    strword = tesmo.strword_r
    strword.restype = ctypes.c_void_p
    strword.argtypes = [ctypes.c_char_p, ctypes.POINTER(State)]
    for line in lines_of(data):
        buffer = ctypes.create_string_buffer(line, len(line) + 16)
        state = State()
        word = strword(buffer, ctypes.byref(state))
        while word:
            text = ctypes.string_at(word)
            if text:
                yield text
            word = strword(None, ctypes.byref(state))


def mecab_words(dicdir, words, lemma):
    """The words mecab finds in each of words (UTF-8 strings), in order."""
    text = "".join(w + "\n" for w in words).encode("utf-8")
    out = subprocess.run(["mecab", "-b", "65536", "-r", dicdir + "/dicrc", "-d", dicdir],
                         input=text, capture_output=True, check=True).stdout.decode("utf-8")
    result, current = [], []
    for line in out.split("\n"):
        if line == "EOS":
            result.append(current)
            current = []
        elif "\t" in line:
            surface, feature = line.split("\t", 1)
            fields = feature.split(",")
            if fields[0] == "記号":
                continue
            base = fields[6] if lemma and len(fields) > 6 and fields[6] != "*" else None
            current.append(base or surface)
    assert len(result) == len(words), (len(result), len(words))
    return result


def expected_counts(tesmo, dicdir, data, lemma):
    occurrences = collections.Counter(classic_words(tesmo, data))
    japanese = [w for w in occurrences if any(b >= 0x80 for b in w)]
    convertible, tokens = [], {}
    for w in japanese:
        try:
            convertible.append((w, w.decode("cp932")))
        except UnicodeDecodeError:
            tokens[w] = [w]
    for (w, _), found in zip(convertible, mecab_words(dicdir, [u for _, u in convertible], lemma)):
        try:
            tokens[w] = [t.encode("cp932") for t in found]
        except UnicodeEncodeError:
            tokens[w] = [w]
    counts = collections.Counter()
    for w, n in occurrences.items():
        for t in tokens.get(w, [w]):
            counts[fold(t)] += n
    return counts


def report_counts(report):
    counts = collections.Counter()
    lines = report.split(b"\r\n")
    for line in lines[1:]:
        if line.startswith(b"="):
            break
        number, word = line.split(b" : ", 1)
        counts[fold(word)] += int(number)
    return counts


def main():
    tesmo = ctypes.CDLL(sys.argv[1])
    dicdir, corpus, report = sys.argv[2:5]
    lemma = len(sys.argv) > 5 and sys.argv[5] == "lemma"
    with open(corpus, "rb") as f:
        expected = expected_counts(tesmo, dicdir, f.read(), lemma)
    with open(report, "rb") as f:
        got = report_counts(f.read())
    keys = set(expected) | set(got)
    differ = sorted(k for k in keys if expected[k] != got[k])
    print(f"{len(keys) - len(differ)} of {len(keys)} distinct words, "
          f"{sum(expected.values())} words by mecab, {sum(got.values())} counted: "
          f"{'equal' if not differ else str(len(differ)) + ' differ'}")
    for k in differ[:10]:
        print(f"  {k.decode('cp932', 'replace')}: mecab {expected[k]}, count {got[k]}")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
