#!/usr/bin/env python3
"""Writes the search fuzzer's seeds into the folder given: queries with
kana of both kinds and widths, sound marks and several words, over small
dictionaries with categories and keywords."""
import os
import sys

SEEDS = {
    "kana": "ｼｮﾎﾞ\nしょぼーん\t(´・ω・｀)\tがっかり\nしょぼーん\t(´･ω･`)\n",
    "words": "ω　が (\nあいさつ\t(^_^)/\tやあ\nくま\t(´(ｴ)｀)\tベア\nくま\t(^_^)/\n",
    "marks": "ガ\u3099ﾊﾟ\nか\u3099\tﾊﾟｰ\tｳﾞ\nゝ\u3099\tヾ\n",
    "case": "ДΩＡ\nLatin\tÀÉŁ\tΣς\nx\tдωａ\n",
}

folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
for name, text in SEEDS.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(text.encode("utf-8"))
