#!/usr/bin/env python3
"""Writes the seed corpus of dictionary_utf8_fuzz into the given folder: small
generated UTF-8 dictionaries (characters of one to four bytes, combining marks,
right-to-left letters, mixed line ends, Ctrl-Z) and a few invalid sequences."""
import pathlib
import random
import sys

NAMES = ["あいさつ", "ハート", "A", "AB", "xあ", "ｱｲｳ", "　空白", "é", "🐻くま", "ぁ"]
FACES = ["(^_^)/", "(♥ω♥)", "ʕ•ᴥ•ʔ", "(ง ˙o˙)ว", "(´・ω・｀)", "ل(ﾟ∀ﾟ)ل", "(*´▽`*)\u0301", ""]


def generated(rng):
    data = b"".join(
        rng.choice([b"", b" ", b"\t"]) + rng.choice(NAMES).encode() +
        b"\t" * rng.randint(0, 3) + rng.choice(FACES).encode() +
        rng.choice([b"", "\tはーと くま".encode()]) +
        rng.choice([b"\r\n", b"\n", b"\r\r\n", b"\r", b"\r\n \t\r\n"])
        for _ in range(rng.randint(1, 40)))
    return data + b"\x1a" + data if rng.random() < 0.2 else data


out = pathlib.Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
rng = random.Random(1)
for i in range(24):
    (out / f"generated-{i:02}").write_bytes(generated(rng))
for name, data in {"empty": b"", "cut-short": b"\xe3\x81\tb\r\n\xe3", "lone-trail": b"\x80\x80\tx\n",
                   "overlong": b"\xc0\xaf\t1\n", "surrogate": b"\xed\xa0\x80\t1\n"}.items():
    (out / name).write_bytes(data)
