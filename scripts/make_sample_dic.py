#!/usr/bin/env python3
"""Writes sample/dic.txt, Pelo's starter dictionary, from the lists below.

The file is UTF-8 with a byte-order mark and CR LF line ends: one "category
TAB kaomoji" per line (a third field, after another TAB, holds keywords to
find it by), each category as one run of lines. UTF-8, because the last
category holds kaomoji that Shift-JIS cannot; the mark, so that every editor
(Notepad included) and Pelo know the encoding from the first three bytes, and
an edit that adds one byte that is not UTF-8 does not turn the whole file into
Shift-JIS. Every category but the last also fits in Shift-JIS (no NEC or IBM
extension codes), so a user may still save the file as "ANSI" without it.

Usage: python3 scripts/make_sample_dic.py [--out sample/dic.txt]
"""

import argparse
import pathlib
import sys

# Category name -> kaomoji, in the order they appear in the file.
CATEGORIES = {
    "あいさつ": [
        "(^_^)/", "(・ω・)ノ", "ヽ(・∀・)ノ", "(＾－＾)ノ", "(o・ω・)ノ",
        "(´∀｀)ノ", "ヾ(＾▽＾)", "(・_・)/", "(^o^)/", "＼(^o^)／",
    ],
    "ありがとう": [
        "(人´∀｀)", "m(_ _)m", "(*_ _)人", "(＞人＜)", "(^人^)",
        "(・人・)", "ｍ(＿　＿)ｍ", "(*´人｀*)", "(o_ _)o", "(^_^)v",
    ],
    "あせあせ": [
        "(;・∀・)", "(^_^;)", "(;´Д｀)", "(・_・;)", "(;^ω^)",
        "(;ﾟДﾟ)", "(・∀・;)", "(^-^;", "(；´∀｀)", "(;'∀')",
    ],
    "うれしい": [
        "(*^_^*)", "(≧▽≦)", "(*´∀｀*)", "ヽ(＾。＾)ノ", "(^▽^)",
        "(*^▽^*)", "(o^∀^o)", "(＾ω＾)", "(≧∀≦)", "(*＾ー＾*)",
    ],
    "うとうと": [
        "(-_-)zzz", "(´ぅω・｀)", "(｡-ω-)zzz", "(-ω-)", "(*-_-*)",
        "(_ _)zzZ", "(´-ω-｀)", "(=_=)", "(-.-)zZ", "(ρ_-)",
    ],
    "おこる": [
        "(`Д´)", "(#｀皿´)", "(`ε´)", "(＃ﾟДﾟ)", "(-_-メ)",
        "(`・ω・´)", "ヽ(`Д´)ﾉ", "(#^ω^)", "(｀へ´)", "(▼皿▼)",
    ],
    "おやすみ": [
        "(_ _).｡o○", "(-_-)゜zzz", "(*´ω｀*)zzz", "(｡-_-｡)", "(-ω-)ｽﾔｧ",
        "(ｰ_ｰ)", "(´～｀)", "(￣ρ￣)", "(*_ _)", "(-_-)ﾉ~",
    ],
    "おどろき": [
        "(ﾟДﾟ)", "Σ(ﾟДﾟ)", "(・□・)", "(°д°)", "(O_O)",
        "(ﾟoﾟ)", "Σ(・□・;)", "(゜ロ゜)", "(◎_◎)", "w(ﾟoﾟ)w",
    ],
    "がっかり": [
        "(´・ω・｀)", "(-_-;)", "(´Д｀)", "orz", "(＿＿；)",
        "(´；ω；｀)", "(ーー;)", "(ノ_・。)", "(´-｀)", "(・ε・)",
    ],
    "がんばれ": [
        "(｀・ω・´)ゞ", "ｂ(￣▽￣)", "(o`・ω・)9", "(*｀▽´*)ｂ", "ｖ(＾＿＾ｖ)",
        "(o｀・ω・)ゞ", "(｀_´)ゞ", "(9｀・ω・)9", "(｀・ω・´)ｂ", "＼(｀0´)／",
    ],
    "きらきら": [
        "☆(ゝω・)v", "(☆∀☆)", "☆彡", "(*☆▽☆*)", "(o☆∀☆o)",
        "★(≧▽≦)★", "(☆ω☆)", "☆⌒(ゝ。∂)", "(ﾟ▽ﾟ*)☆", "☆ミ",
    ],
    "こまった": [
        "(・・;)", "(~_~;)", "(´・_・｀)", "(；・∀・)", "(・へ・)",
        "(-_-;)", "(ﾟーﾟ;)", "(´・ε・｀)", "(。・・。)", "(・ω・;)",
    ],
    "ごめんね": [
        "m(_ _;)m", "(>_<)", "(´；ω；｀)ゴメン", "(シ_ _)シ", "(・ω・｀)ｺﾞﾒﾝ",
        "<(_ _)>", "(；人；)", "(ﾉД`)", "(_ _;)", "(ρ_;)",
    ],
    "さようなら": [
        "(^_^)/~~", "(・ω・)ﾉｼ", "(´∀｀)ﾉｼ", "ﾉｼ", "(^o^)丿",
        "(＾＾)／~~~", "(・_・)ﾉ~", "(ﾟ∀ﾟ)ﾉｼ", "(*^_^*)ﾉ", "(・∀・)ﾉｼ",
    ],
    "しょんぼり": [
        "(´・ω・｀)ｼｮﾎﾞｰﾝ", "(・ω・｀)", "(´._.｀)", "(´ω｀)", "(ーー)",
        "(´・_・｀)", "(._.)", "(´･ω･`)", "(´ー｀)", "(._.;)",
    ],
    "たのしい": [
        "(^▽^)/", "♪(^∇^*)", "ヽ(^o^)丿", "(*^^*)♪", "(ﾉ≧∀≦)ﾉ",
        "♪～(￣ε￣)", "(^_^)♪", "ヽ(*´∀｀)ノ", "(o^^o)", "(^^♪",
    ],
    "てれてれ": [
        "(*ﾉωﾉ)", "(〃∇〃)", "(*/ω＼*)", "(//∇//)", "(*´ω｀*)",
        "(*ﾉ▽ﾉ)", "(///ω///)", "(〃ﾉωﾉ)", "(*/▽＼*)", "(///▽///)",
    ],
    "どきどき": [
        "(ﾟ∀ﾟ*)", "(*ﾟーﾟ)", "(〃▽〃)", "(;´∀｀)ﾄﾞｷﾄﾞｷ", "(*ﾟдﾟ*)",
        "(*´∀｀*)ﾄﾞｷﾄﾞｷ", "(*´▽｀*)", "(〃ω〃)", "(・∀・)ﾄﾞｷﾄﾞｷ", "(*・・*)",
    ],
    "なみだ": [
        "(T_T)", "(;_;)", "(ToT)", "(ﾉД`)ﾟ｡", "(´；ω；｀)",
        "(TдT)", "(つд｀)", "(ｉ_ｉ)", "(πーπ)", "(；へ；)",
    ],
    "にこにこ": [
        "(^_^)", "(^^)", "(*^-^*)", "(＾ー＾)", "(^ー^)",
        "(*^^*)", "(o^-^o)", "(^∇^)", "(^ω^)", "(＾_＾)",
    ],
    "ばんざい": [
        "＼(^o^)／", "ヽ(^。^)ノ", "＼(＾▽＾)／", "ヽ(´▽｀)ノ", "＼(*^▽^*)／",
        "ヽ(=´▽`=)ﾉ", "＼(≧▽≦)／", "ヽ(*ﾟ∀ﾟ)ﾉ", "＼(ﾟ∀ﾟ)／", "ヽ(＾Д＾)ﾉ",
    ],
    "ぷんぷん": [
        "(｀ε´)", "(*｀へ´*)", "(｀・ε・´)", "(-""-)", "(｀Д´)ﾌﾟﾝﾌﾟﾝ",
        "(・`ω´・)", "(｀ヘ´)", "(#｀ε´#)", "(￣^￣)", "(｀ω´)",
    ],
    "わくわく": [
        "(o´∀｀o)", "(*ﾟ▽ﾟ*)", "((o(^∇^)o))", "(・∀・)ﾜｸﾜｸ", "(*´∀｀)♪",
        "o(^▽^)o", "(ﾉ´∀｀*)", "((o(´∀｀)o))", "(*^o^*)", "(o^▽^o)",
    ],
    "イヌ": [
        "U^ェ^U", "∪・ω・∪", "U・x・U", "(Uﾟ∀ﾟU)", "∪＾ェ＾∪",
        "U´・ω・｀U", "(∪・ω・∪)", "U＾ｪ＾U", "∪ ´ω` ∪", "U・ω・U",
    ],
    "ウサギ": [
        "(／・ω・)／", "(・x・)", "／(^x^)＼", "(＼(・x・)／)", "(/・ω・)/",
        "(=・x・=)", "／(・×・)＼", "ﾟ(・x・)ﾟ", "(／＞x＜)／", "(・×・)",
    ],
    "ネコ": [
        "(=^・^=)", "(=ﾟωﾟ)ﾉ", "(=^ェ^=)", "(=^ω^=)", "(=・ω・=)",
        "(^・ω・^)", "(=^‥^=)", "(=ＴェＴ=)", "(=｀ェ´=)", "(ΦωΦ)",
    ],
    "クマ": [
        "(´(ｪ)｀)", "(´(ｴ)｀)", "(・(ｪ)・)", "(￣(ｴ)￣)", "(*´(ｪ)｀*)",
        "(＾(ｴ)＾)", "(´・(ｪ)・｀)", "(･(ｪ)･)", "(￣(工)￣)", "(^(ｴ)^)",
    ],
    "ラブラブ": [
        "(*´ω｀*)ﾁｭ", "(´∀｀)ﾁｭ", "ﾁｭ(^o^)ﾁｭ", "(*^_^*)ﾁｭ", "(ﾁｭωﾁｭ)",
        "(*´▽｀*)ﾁｭ", "(^_^)ﾁｭ", "ﾁｭ(*´∀｀*)人(*´∀｀*)ﾁｭ", "(*ﾁｭ∀ﾁｭ*)", "(´ε｀)ﾁｭ",
    ],
    "ピース": [
        "(^_^)v", "(・ω・)v", "ｖ(＾－＾)ｖ", "(＾ｕ＾)ｖ", "(^O^)v",
        "ｖ(・∀・)ｖ", "(*^^)v", "v(^_^)v", "ｖ(￣ー￣)ｖ", "(｀・ω・)v",
    ],
    "ダンス": [
        "♪ヽ(´▽｀)/", "ヽ(^^ヽ)(ﾉ^^)ﾉ", "♪┏(・o･)┛♪", "┗(･ω･;)┛", "♪(┌・。・)┌",
        "ヾ(*´∀｀*)ﾉ", "(ノ^_^)ノ", "＼(^_^＼)(／^_^)／", "♪ヽ(*^^*)ノ", "ヘ(^o^)ノ",
    ],
    "乾杯": [
        "(^_^)/□☆□＼(^_^)", "(*^^)o∀*∀o(^^*)", "(^o^)丿▽", "(ﾟ∀ﾟ)ノ□", "(*´∀｀)ノ□",
        "(^_^)ノ□", "□＼(^▽^)", "(・∀・)つ□", "(^ω^)ノ□", "(｀・ω・)ノ□",
    ],
    "拍手": [
        "(ﾉﾟ∀ﾟ)ﾉ ﾊﾟﾁﾊﾟﾁ", "(*ﾟ▽ﾟﾉﾉﾞ☆ﾊﾟﾁﾊﾟﾁ", "8(^_^)8", "(・∀・)ﾊﾟﾁﾊﾟﾁ", "ヽ(^o^)ﾉ ﾊﾟﾁﾊﾟﾁ",
        "(ﾟ▽ﾟ)ﾉﾞﾊﾟﾁﾊﾟﾁ", "(*^^*)ﾊﾟﾁﾊﾟﾁ", "(・ω・)ﾉﾞﾊﾟﾁﾊﾟﾁ", "(≧▽≦)ﾊﾟﾁﾊﾟﾁ", "(^O^)ﾊﾟﾁﾊﾟﾁ",
    ],
    "食べ物": [
        "(´～｀)ﾓｸﾞﾓｸﾞ", "(・ｘ・)ﾓｸﾞﾓｸﾞ", "(*´ч｀*)", "( ﾟДﾟ)ｳﾏｰ", "(^～^)",
        "(っ´ω`c)", "(*´～｀*)", "(・～・)", "(￣～￣)", "(ﾟ∀ﾟ)ｳﾏｲ",
    ],
    "表情": [
        "(・_・)", "(￣ー￣)", "(・へ・)", "(￣▽￣)", "(・o・)",
        "(￣ω￣)", "(・・)", "(-_-)", "(・ε・)", "(￣_￣)",
    ],
}

# Popular kaomoji that need characters Shift-JIS lacks (IPA and Canadian
# letters, Thai, Georgian, combining marks, hearts), with keywords.
WORLD = ("世界の顔文字", [
    ("ʕ•ᴥ•ʔ", "くま ベア"),
    ("ʕっ•ᴥ•ʔっ", "くま ハグ"),
    ("(♥ω♥)", "ハート らぶらぶ"),
    ("(づ｡◕‿‿◕｡)づ", "ハグ ぎゅー"),
    ("¯\\_(ツ)_/¯", "しらない やれやれ"),
    ("(ノ◕ヮ◕)ノ*:･ﾟ✧", "きらきら わーい"),
    ("( ͡° ͜ʖ ͡°)", "にやり"),
    ("(╯°□°)╯︵ ┻━┻", "ちゃぶだいがえし おこる"),
    ("ᕦ(ò_óˇ)ᕤ", "がんばれ ちから"),
    ("(ง •̀_•́)ง", "がんばれ ファイト"),
    ("(◕‿◕✿)", "にこにこ はな"),
    ("ლ(╹◡╹ლ)", "なんで"),
])


def check_utf8(text):
    """Refuses control characters; the text as UTF-8."""
    if any(ord(c) < 0x20 or ord(c) == 0x7F for c in text):
        raise ValueError(f"control character in {text!r}")
    return text.encode("utf-8")


def check(text):
    """Refuses a character that is not plain CP932 or would not round-trip;
    the text as UTF-8."""
    data = text.encode("cp932")
    if data.decode("cp932").encode("cp932") != data:
        raise ValueError(f"does not round-trip: {text!r}")
    i = 0
    while i < len(data):
        b = data[i]
        if 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC:
            if b == 0x87 or 0xED <= b <= 0xEE or 0xFA <= b <= 0xFC:
                raise ValueError(f"NEC/IBM extension code in {text!r}")
            i += 2
        else:
            if b < 0x20 or b == 0x7F:
                raise ValueError(f"control byte in {text!r}")
            i += 1
    return text.encode("utf-8")


def build():
    lines = []
    for name, kaomoji in CATEGORIES.items():
        if len(set(kaomoji)) != len(kaomoji):
            raise ValueError(f"duplicate kaomoji in {name}")
        for face in kaomoji:
            if face != face.strip(" \t") or "\t" in face:
                raise ValueError(f"white space around {face!r}")
            lines.append(check(name) + b"\t" + check(face) + b"\r\n")
    name, entries = WORLD
    for face, keywords in entries:
        if face != face.strip(" \t") or "\t" in face:
            raise ValueError(f"white space around {face!r}")
        try:
            face.encode("cp932")
            raise ValueError(f"{face!r} needs no UTF-8: it belongs to another category")
        except UnicodeEncodeError:
            pass
        lines.append(check(name) + b"\t" + check_utf8(face) + b"\t" + check_utf8(keywords) + b"\r\n")
    return b"\xef\xbb\xbf" + b"".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = pathlib.Path(__file__).resolve().parent.parent
    parser.add_argument("--out", default=str(root / "sample" / "dic.txt"))
    args = parser.parse_args()
    try:
        data = build()
    except (ValueError, UnicodeEncodeError) as error:
        sys.exit(f"make_sample_dic: {error}")
    pathlib.Path(args.out).write_bytes(data)
    faces = sum(len(k) for k in CATEGORIES.values()) + len(WORLD[1])
    print(f"{args.out}: {len(CATEGORIES) + 1} categories, {faces} kaomoji, {len(data)} bytes")


if __name__ == "__main__":
    main()
