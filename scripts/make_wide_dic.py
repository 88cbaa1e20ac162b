#!/usr/bin/env python3
"""Writes a dic.txt whose tree is wide rather than deep, for the benchmarks.

Two shapes:
  one-group    every category in one group: "あ00000" .. "あ09999" for
               --categories 10000, so the group has 10,000 category items;
  many-groups  --groups groups at the root, each with --per-group categories;
               each group is a different double-byte character (kanji,
               then kana), so every group key differs from the last.

Every category gets --kaomoji lines "name TAB kaomoji" CR LF, in one run.
Categories are written in ascending order, the hardest order for a tree that
places each new item by scanning its siblings from the first. CP932.

Usage:
  python3 scripts/make_wide_dic.py one-group --categories 10000 --out dic.txt
  python3 scripts/make_wide_dic.py many-groups --groups 3000 --out dic.txt
"""

import argparse
import sys

FACES = ("(^_^)/", "(・ω・)ノ", "(´∀｀)", "(≧▽≦)", "(ﾟДﾟ)", "m(_ _)m", "(*^▽^*)",
         "(；´Д｀)", "ヽ(・∀・)ノ", "(=ﾟωﾟ)ﾉ")


def group_keys(count):
    """`count` distinct double-byte CP932 characters that round-trip, in
    byte order from the first kanji (0x889F), without NEC/IBM extensions."""
    keys = []
    for lead in list(range(0x88, 0xA0)) + list(range(0xE0, 0xED)) + [0x82, 0x83]:
        for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
            data = bytes((lead, trail))
            try:
                if data.decode("cp932").encode("cp932") != data:
                    continue
            except UnicodeDecodeError:
                continue
            keys.append(data)
            if len(keys) == count:
                return keys
    raise SystemExit(f"only {len(keys)} group keys available")


def lines(names, kaomoji):
    for name in names:
        for i in range(kaomoji):
            face = FACES[i % len(FACES)].encode("cp932")
            yield name + b"\t" + face + str(i).encode() + b"\r\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("shape", choices=("one-group", "many-groups"))
    parser.add_argument("--categories", type=int, default=10000, help="one-group: categories")
    parser.add_argument("--groups", type=int, default=3000, help="many-groups: groups")
    parser.add_argument("--per-group", type=int, default=3, help="many-groups: categories a group")
    parser.add_argument("--kaomoji", type=int, default=10, help="lines a category")
    parser.add_argument("--out", required=True, help="output file ('-' for standard output)")
    args = parser.parse_args()

    if args.shape == "one-group":
        names = ["あ%05d".encode("cp932") % i for i in range(args.categories)]
    else:
        names = [key + b"%02d" % i for key in group_keys(args.groups)
                 for i in range(args.per_group)]
    data = b"".join(lines(names, args.kaomoji))
    if args.out == "-":
        sys.stdout.buffer.write(data)
    else:
        with open(args.out, "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
