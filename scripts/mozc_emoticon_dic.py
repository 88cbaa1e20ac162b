#!/usr/bin/env python3
"""Converts Mozc's emoticon data (emoticon.tsv, BSD 3-Clause licence: keep
its LICENSE beside anything made from it) into a dic.txt for Pelo, so that
search can be tried on a real collection.

emoticon.tsv: a header line, then "kaomoji TAB readings TAB moods" (UTF-8,
readings in hiragana and moods such as SMILE separated by spaces; the moods
may be missing).

dic.txt: "category TAB kaomoji TAB readings" CR LF. The category is the
first mood, in Japanese (no mood: その他); the readings become the
kaomoji's keywords, so typing にこ or ニコ finds (^o^). Each category is one
run of lines, in the order of MOODS; kaomoji keep Mozc's order.

The output is UTF-8 without a byte-order mark. With --cp932 it is Shift-JIS
instead, for a Pelo that reads only that; a kaomoji that Shift-JIS cannot
hold exactly is then left out and counted.

A kaomoji is left out (and counted) when the dictionary could not hold it as
it is: a TAB, CR, LF or other control character inside, or white space at
either end, which the loader trims.

Usage: python3 scripts/mozc_emoticon_dic.py [--cp932] emoticon.tsv dic.txt
"""

import argparse
import sys

# Mood -> category, in the order the categories are written.
MOODS = {
    "SMILE": "笑顔",
    "SADNESS": "悲しい",
    "SWEAT": "汗",
    "DISPLEASURE": "不満",
    "SURPRISE": "驚き",
    "OTHER": "その他",
}
NO_MOOD = "その他"
LOADER_SPACE = " \t\n\x0b\x0c\r"  # the single-byte white space dic.txt's loader trims


def parse_rows(text):
    """(kaomoji, readings, moods) of every data row of emoticon.tsv."""
    lines = text.splitlines()
    if not lines or "keys" not in lines[0]:
        raise ValueError("not Mozc's emoticon.tsv: its header line is missing")
    for line in lines[1:]:
        if not line:
            continue
        fields = line.split("\t")
        kaomoji = fields[0]
        readings = fields[1].split() if len(fields) > 1 else []
        moods = fields[2].split() if len(fields) > 2 else []
        yield kaomoji, readings, moods


def holdable(kaomoji):
    return (kaomoji != "" and kaomoji.strip(LOADER_SPACE) == kaomoji
            and not any(ord(ch) < 0x20 or ord(ch) == 0x7F for ch in kaomoji))


def encodes_exactly(text, encoding):
    try:
        return text.encode(encoding).decode(encoding) == text
    except UnicodeError:
        return False


def convert(text, encoding):
    """The dic.txt bytes and the counts of what was written and left out."""
    runs = {category: [] for category in MOODS.values()}
    counts = {"read": 0, "written": 0, "not holdable": 0, "not in " + encoding: 0}
    for kaomoji, readings, moods in parse_rows(text):
        counts["read"] += 1
        if not holdable(kaomoji):
            counts["not holdable"] += 1
            continue
        line = "%s\t%s\t%s" % (MOODS.get(moods[0], NO_MOOD) if moods else NO_MOOD,
                               kaomoji, " ".join(readings))
        if not encodes_exactly(line, encoding):
            counts["not in " + encoding] += 1
            continue
        runs[line.split("\t", 1)[0]].append(line)
        counts["written"] += 1
    lines = [line for run in runs.values() for line in run]
    data = "".join(line + "\r\n" for line in lines).encode(encoding)
    return data, counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tsv", help="Mozc's emoticon.tsv")
    parser.add_argument("out", help="the dic.txt to write")
    parser.add_argument("--cp932", action="store_true",
                        help="write Shift-JIS (CP932) rather than UTF-8")
    args = parser.parse_args()
    with open(args.tsv, encoding="utf-8-sig") as tsv:
        text = tsv.read()
    try:
        data, counts = convert(text, "cp932" if args.cp932 else "utf-8")
    except ValueError as error:
        sys.exit("%s: %s" % (args.tsv, error))
    with open(args.out, "wb") as out:
        out.write(data)
    print(", ".join("%s %d" % item for item in counts.items()))


if __name__ == "__main__":
    main()
