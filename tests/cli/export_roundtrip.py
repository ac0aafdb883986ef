#!/usr/bin/env python3
"""vorlan-count's data formats read back with Python's own csv and json
parsers agree with the report of the same count: the same words with the
same counts in the same order, percentages that are count * 100 / total
exactly, and the same totals.

Usage: export_roundtrip.py PATH-TO-VORLAN-COUNT
"""
import csv
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

PROGRAM = None

WORD_LINE = re.compile(rb"^ *(\d+)(?:\([^)]*%\))? : (.+)\r\n$", re.S)
TOTAL_LINE = re.compile(rb"^ *(-?\d+) : (Files processed|Total words|Different words used)\r\n$")
ORDERS = ["abc", "zyx", "tail", "freq", "lowfreq"]

ENGLISH = (
    b"The cat and the dog. Don't stop: 10 20 30, 1,000 and 3.14 at 10:30!\n"
    b"Tabs\tbetween\twords, 1\t2 between digits, 7\r8 with a lone CR,\r\n"
    b"a back 5\\6 slash, \"quoted\" text, and; the END the end.\n"
)
# Shift-JIS: 日本語 twice (once with a double-byte comma inside a word), 表
# whose second byte is a backslash, half-width katakana, and a lead byte cut
# off by the line's end.
SHIFT_JIS = (
    b"\x93\xfa\x96\x7b\x8c\xea \x93\xfa\x96\x7b\x8c\xea\x81\x41\x95\x5c "
    b"\xb1\xb2\xb3 abc\n\x95\x5c \x93\xfa\x96\x7b\x8c\xea x\x81\n"
)


def run(args, stdin=None):
    result = subprocess.run([PROGRAM] + args, input=stdin, capture_output=True, check=False)
    if result.returncode != 0:
        raise AssertionError(f"{args}: status {result.returncode}: {result.stderr!r}")
    return result.stdout


def parse_report(report):
    """(spec, [(word bytes, count)], totals) of a report's bytes."""
    lines = re.findall(rb".*?\r\n", report, re.S)  # a lone CR stays inside its line
    header = re.match(rb"^=====\[ (.*) \]=====\r\n$", lines[0], re.S)
    assert header, lines[0]
    words = []
    rest = lines[1:]
    while rest and rest[0] != b"=========================\r\n":
        m = WORD_LINE.match(rest[0])
        assert m, rest[0]
        words.append((m.group(2), int(m.group(1))))
        rest = rest[1:]
    totals = {}
    for line in rest[1:]:
        m = TOTAL_LINE.match(line)
        assert m, line
        totals[m.group(2).decode()] = int(m.group(1))
    return header.group(1), words, totals


def unescape_tsv(field):
    table = {"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}
    return re.sub(r"\\(.)", lambda m: table[m.group(1)], field)


def raw(text):
    """The file's bytes behind text decoded with surrogateescape."""
    return text.encode("utf-8", "surrogateescape")


class Exports(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        root = cls.tmp.name
        cls.data = os.path.join(root, "data")
        os.mkdir(cls.data)
        with open(os.path.join(cls.data, "english.txt"), "wb") as f:
            f.write(ENGLISH)
        with open(os.path.join(cls.data, "more.txt"), "wb") as f:
            f.write(b" ".join(b"w%d" % (i % 37) for i in range(500)) + b"\n")
        cls.sjis = os.path.join(root, "sjis")
        os.mkdir(cls.sjis)
        with open(os.path.join(cls.sjis, "nihongo.txt"), "wb") as f:
            f.write(SHIFT_JIS)
        cls.profile = os.path.join(root, "profile.ini")
        open(cls.profile, "w").close()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def count(self, args, stdin=None):
        return run(["--profile", self.profile] + args, stdin)

    def check_rows(self, report, rows, trailer):
        spec, words, totals = parse_report(report)
        self.assertEqual([(w, c) for w, c, _ in rows], words)
        total = totals["Total words"]
        for word, count, percent in rows:
            self.assertEqual(float(percent), count * 100 / total, word)
        self.assertEqual(trailer["total words"], total)
        self.assertEqual(trailer["different words"], totals["Different words used"])
        if "Files processed" in totals:
            self.assertEqual(trailer["files processed"], totals["Files processed"])
        self.assertEqual(trailer["file specification"], spec)

    def delimited(self, text, **dialect):
        rows = list(csv.reader(io.StringIO(text, newline=""), **dialect))
        header, body, trailer = rows[0], rows[1:-1], rows[-1]
        self.assertEqual(header[:3], ["word", "count", "percent"])
        self.assertEqual(trailer[0], "")
        totals = dict(field.split("=", 1) for field in trailer[1:])
        for key in ("files processed", "total words", "different words"):
            totals[key] = int(totals[key])
        totals["file specification"] = raw(totals["file specification"])
        return header[3], body, totals

    def test_tsv_and_csv_agree_with_the_report_in_every_order(self):
        for folder, encoding in ((self.data, "encoding=utf-8"), (self.sjis, "encoding=shift_jis")):
            for order in ORDERS:
                with self.subTest(folder=folder, order=order):
                    args = ["--order", order, folder]
                    report = self.count(args)
                    tsv = self.count(["--format", "tsv"] + args).decode("utf-8", "surrogateescape")
                    enc, body, totals = self.delimited(tsv, delimiter="\t", quoting=csv.QUOTE_NONE)
                    self.assertEqual(enc, encoding)
                    rows = [(raw(unescape_tsv(w)), int(c), p) for w, c, p in body]
                    self.check_rows(report, rows, totals)

                    text = self.count(["--format=csv"] + args).decode("utf-8", "surrogateescape")
                    enc, body, totals = self.delimited(text)
                    self.assertEqual(enc, encoding)
                    self.check_rows(report, [(raw(w), int(c), p) for w, c, p in body], totals)

    def test_json_agrees_with_the_report_and_is_utf8(self):
        for folder in (self.data, self.sjis):
            for order in ORDERS:
                with self.subTest(folder=folder, order=order):
                    args = ["--percent", "--order", order, folder]
                    report = self.count(args)
                    doc = json.loads(self.count(["--format", "json"] + args).decode("utf-8"))
                    rows = []
                    for item in doc["words"]:
                        if doc["encoding"] == "utf-8":
                            word = item["word"].encode("utf-8")
                        elif "word_bytes" in item:
                            word = bytes.fromhex(item["word_bytes"])
                        else:
                            word = item["word"].encode("cp932")
                        rows.append((word, item["count"], repr(item["percent"])))
                    totals = {k.replace("_", " "): v for k, v in doc["totals"].items()}
                    totals["file specification"] = totals["file specification"].encode("utf-8")
                    self.check_rows(report, rows, totals)
                    expected = "utf-8" if folder == self.data else "converted from Shift-JIS"
                    self.assertEqual(doc["encoding"], expected)

    def test_shift_jis_words_convert_and_a_cut_off_one_keeps_its_bytes(self):
        doc = json.loads(self.count(["--order", "abc", "--format", "json", "-"], SHIFT_JIS))
        words = {item["word"]: item for item in doc["words"]}
        self.assertEqual(words["日本語"]["count"], 2)
        self.assertEqual(words["表"]["count"], 1)
        self.assertIn("日本語、表", words)
        self.assertIn("ｱｲｳ", words)
        self.assertEqual(words["x\ufffd"]["word_bytes"], "7881")
        self.assertEqual(doc["totals"]["file_specification"], "(STANDARD INPUT)")

    def test_a_pipeline_ends_in_the_counter(self):
        text = subprocess.run(
            f"printf 'b a b\\n' | '{PROGRAM}' --profile '{self.profile}' --format csv -",
            shell=True, capture_output=True, check=True).stdout.decode()
        rows = list(csv.reader(io.StringIO(text, newline="")))
        self.assertEqual(rows[1:-1], [["b", "2", "66.66666666666667"], ["a", "1", "33.333333333333336"]])


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
