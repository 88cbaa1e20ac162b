#!/usr/bin/env python3
"""Writes the seed corpus of dictionary_parser_fuzz into the given folder: small
generated dictionaries (CP932, mixed line ends, runs, blank lines, Ctrl-Z) and a
few hand-made edge cases. dictionary_utf8_fuzz_seeds.py writes its own with
write_seeds() below."""
import pathlib
import random
import sys

NAMES = ["あいさつ", "あせあせ", "ソワソワ", "表情", "能天気", "A", "AB", "xあ", "ｱｲｳ", "　空白"]
FACES = ["(^_^)/", "(・∀・)", "ヽ(´ー｀)ノ", "(ﾟДﾟ)", "ｿ|ｿ", ""]
EDGES = {"empty": b"", "blank": b" \t\r\n\r\n", "no-tab": b"x\r\n",
         "lone-lead": b"\x83\tb\r\n\x81", "runs": b"abc\t1\nabd\t2\nabc\t3\n"}


def generated(rng, names, faces, encoding):
    data = b"".join(
        rng.choice([b"", b" ", b"\t"]) + rng.choice(names).encode(encoding) +
        b"\t" * rng.randint(0, 3) + rng.choice(faces).encode(encoding) +
        rng.choice([b"", "\tもっと more".encode(encoding)]) +
        rng.choice([b"\r\n", b"\n", b"\r\r\n", b"\r", b"\r\n \t\r\n"])
        for _ in range(rng.randint(1, 40)))
    return data + b"\x1a" + data if rng.random() < 0.2 else data


def write_seeds(folder, names, faces, encoding, edges):
    out = pathlib.Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    rng = random.Random(1)
    for i in range(24):
        (out / f"generated-{i:02}").write_bytes(generated(rng, names, faces, encoding))
    for name, data in edges.items():
        (out / name).write_bytes(data)


if __name__ == "__main__":
    write_seeds(sys.argv[1], NAMES, FACES, "cp932", EDGES)
