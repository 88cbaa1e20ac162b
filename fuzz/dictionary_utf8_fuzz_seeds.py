#!/usr/bin/env python3
"""Writes the seed corpus of dictionary_utf8_fuzz into the given folder: the
Shift-JIS seeds' kind of dictionaries in UTF-8 (characters of one to four bytes,
combining marks, right-to-left letters) and a few invalid sequences."""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from dictionary_parser_fuzz_seeds import write_seeds  # noqa: E402

NAMES = ["あいさつ", "ハート", "A", "AB", "xあ", "ｱｲｳ", "　空白", "é", "🐻くま", "ぁ"]
FACES = ["(^_^)/", "(♥ω♥)", "ʕ•ᴥ•ʔ", "(ง ˙o˙)ว", "(´・ω・｀)", "ل(ﾟ∀ﾟ)ل", "(*´▽`*)\u0301", ""]
EDGES = {"empty": b"", "cut-short": b"\xe3\x81\tb\r\n\xe3", "lone-trail": b"\x80\x80\tx\n",
         "overlong": b"\xc0\xaf\t1\n", "surrogate": b"\xed\xa0\x80\t1\n"}

write_seeds(sys.argv[1], NAMES, FACES, "utf-8", EDGES)
