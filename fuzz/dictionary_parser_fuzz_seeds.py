#!/usr/bin/env python3
"""Writes the seed corpus of dictionary_parser_fuzz into the given folder:
small generated dictionaries (CP932, mixed line ends, groups, separate runs,
blank and white-space lines, Ctrl-Z) and a few hand-made edge cases."""

import pathlib
import random
import sys

NAMES = ["あいさつ", "あせあせ", "うれしい", "ソワソワ", "表情", "能天気", "掛け声", "A", "AB",
         "xあ", "ｱｲｳ", "　空白"]
FACES = ["(^_^)/", "(・∀・)", "ヽ(´ー｀)ノ", "(ﾟДﾟ)", "＼(^o^)／", "(－_－)", "ｿ|ｿ", ""]
ENDS = [b"\r\n", b"\n", b"\r\r\n", b"\r"]


def generated(rng):
    lines = []
    for _ in range(rng.randint(1, 40)):
        name = rng.choice(NAMES).encode("cp932")
        face = rng.choice(FACES).encode("cp932")
        sep = b"\t" * rng.randint(0, 3)
        pad = rng.choice([b"", b" ", b"\t", b" \t"])
        extra = rng.choice([b"", b"\tmore"])
        lines.append(pad + name + sep + face + extra + pad + rng.choice(ENDS))
        if rng.random() < 0.1:
            lines.append(rng.choice([b"\r\n", b" \t\r\n", "　\r\n".encode("cp932")]))
    data = b"".join(lines)
    if rng.random() < 0.2:
        data += b"\x1a" + data
    return data


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    rng = random.Random(1)
    for i in range(24):
        (out / f"generated-{i:02}").write_bytes(generated(rng))
    edges = {
        "empty": b"",
        "blank": b" \t\r\n\r\n",
        "no-tab": b"x\r\n",
        "tabs": b"a\t\t\tb\tc\r\n",
        "lone-lead": b"\x83\tb\r\n\x81",
        "runs": b"abc\t1\nabd\t2\nabc\t3\n",
    }
    for name, data in edges.items():
        (out / name).write_bytes(data)


if __name__ == "__main__":
    main()
