#!/usr/bin/env bash
# Runs the benchmarks and prints their figures (they are not tests).
# Expects a built tree (scripts/build.sh); PELO_BUILD_DIR as for the build.
#   native: Google Benchmark programs of the portable code
#   win64:  end-to-end programs driving the real Pelo.exe under Wine
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export PELO_BUILD_DIR=${PELO_BUILD_DIR:-$root/build}
shared=$root/../shared/testdata
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wine sees the Unix root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# ---- dictionary ----
# The parser natively; then, under Wine, start and memory with three large
# dictionaries (100,000 lines in 300 categories; 10,000 categories in one
# group; 3,000 groups), each beside a one-line dictionary, and the largest
# category of the first to its filled list.
"$PELO_BUILD_DIR/native/bench/dictionary_parser_bench"
dictionaries=()
if [ -f "$shared/make_big_dic.py" ]; then
  python3 "$shared/make_big_dic.py" --lines 100000 --categories 300 --seed 1 --out "$work/big.txt"
  dictionaries+=("100000-lines=$(windows_path "$work/big.txt")")
fi
python3 "$root/scripts/make_wide_dic.py" one-group --categories 10000 --out "$work/one-group.txt"
python3 "$root/scripts/make_wide_dic.py" many-groups --groups 3000 --out "$work/many-groups.txt"
dictionaries+=("one-group=$(windows_path "$work/one-group.txt")"
               "many-groups=$(windows_path "$work/many-groups.txt")")
"$root/scripts/with-wine.sh" sh -c '$WINE "$@"' wine \
  "$PELO_BUILD_DIR/win64/bin/dictionary_bench.exe" "${dictionaries[@]}"
# ---- end of dictionary ----

# ---- the encoding guess ----
# Every Shift-JIS file at hand, and a million random Shift-JIS texts: how many
# would be taken for UTF-8.
sjis=("$work/one-group.txt" "$work/many-groups.txt")
[ -f "$work/big.txt" ] && sjis+=("$work/big.txt")
if [ -f "$shared/mozc-emoticon/emoticon.tsv" ]; then
  python3 "$root/scripts/mozc_emoticon_dic.py" --cp932 "$shared/mozc-emoticon/emoticon.tsv" \
    "$work/mozc-cp932.txt" >/dev/null
  sjis+=("$work/mozc-cp932.txt")
  if [ -f "$shared/make_mozc_dic.py" ]; then
    python3 "$shared/make_mozc_dic.py" -o "$work/mozc-shared.txt" \
      "$shared/mozc-emoticon/emoticon.tsv" >/dev/null && sjis+=("$work/mozc-shared.txt")
  fi
fi
"$PELO_BUILD_DIR/native/bench/encoding_guess_bench" "${sjis[@]}"
# ---- end of the encoding guess ----

# ---- search ----
# The matching natively (one query over 100,000 entries beside a plain scan,
# and the index's memory beside the file's size); then, under Wine, key press
# to filled list on the 100,000-line dictionary.
"$PELO_BUILD_DIR/native/bench/search_bench"
search_dic=()
if [ -f "$work/big.txt" ]; then
  search_dic=("$(windows_path "$work/big.txt")")
fi
"$root/scripts/with-wine.sh" sh -c '$WINE "$@"' wine \
  "$PELO_BUILD_DIR/win64/bin/search_typing_bench.exe" "${search_dic[@]}"
# ---- end of search ----

# ---- delivery ----
"$root/scripts/with-wine.sh" sh -c '$WINE "$PELO_BUILD_DIR/win64/bin/delivery_bench.exe"'
# ---- end of delivery ----
