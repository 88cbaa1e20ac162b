// The dictionary page: the tree and lists as the file has them.
#include "MainDialogFixture.h"

namespace {

using namespace maindialogtest;

// Groups top to bottom as "group" / "  category: kaomoji kaomoji", each item selected as a
// user would; a group's categories sorted (their order is the tree order test's).
std::vector<std::wstring> WideShownTree(const Pelo& pelo) {
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const auto next = [&](UINT relation, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    const auto text = [&](HTREEITEM item) {
        wchar_t buffer[256] = {};
        TVITEMW request{TVIF_TEXT | TVIF_HANDLE, item, 0, 0, buffer, 256, 0, 0, 0, 0};
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&request));
        return std::wstring(buffer);
    };
    std::vector<std::wstring> shown;
    for (HTREEITEM group = next(TVGN_ROOT, nullptr); group; group = next(TVGN_NEXT, group)) {
        const Strings before = pelo.Items(IDC_KAOMOJI_LIST);
        ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(group));
        EXPECT_EQ(pelo.Items(IDC_KAOMOJI_LIST), before) << "a group leaves the list alone";
        shown.push_back(text(group));
        const auto first = shown.end() - shown.begin();
        for (HTREEITEM item = next(TVGN_CHILD, group); item; item = next(TVGN_NEXT, item)) {
            ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            ExpectExtentCoversLongest(pelo.Control(IDC_KAOMOJI_LIST));
            std::wstring line = L"  " + text(item) + L":";
            for (const std::wstring& kaomoji : WideListItems(pelo.Control(IDC_KAOMOJI_LIST))) {
                line += L" " + kaomoji;
            }
            shown.push_back(line);
        }
        std::sort(shown.begin() + first, shown.end());
    }
    return shown;
}

// The same in the ANSI code page, as a Shift-JIS dictionary writes it.
Strings ShownTree(const Pelo& pelo) {
    Strings shown;
    for (const std::wstring& line : WideShownTree(pelo)) {
        shown.push_back(ToCp932(line));
    }
    return shown;
}



TEST(Dictionary, TreeAndListsShowTheFileAsWritten) {
    const std::string so = "\x83\x5C";   // ソ: trail byte '\'
    const std::string hyo = "\x95\x5C";  // 表
    const std::string nec = "\x87\x90";  // ≒ as the NEC code, 81 E0 elsewhere
    const std::string jis = "\x81\xE0";
    const std::string dic =
        "abd\t(d1)\r\n"
        "  abd \t\t(d2)\tignored\n"  // "abd ": trimmed at the line's ends only; LF
        "abc\t (c1)\r\n"             // the kaomoji keeps its leading space
        "xy\r\n"                     // no TAB: the empty kaomoji
        "abc\t(c2)\r\n"              // "ab" again, "abc" in a second run
        "A\t(A)\r\n" +
        so + "|\t(s1)\r\n" + so + hyo + "\t" + so + "(s2)\r\n" +  // group "ソ"
        "zz" + nec + "\tnec\r\n" + "zz" + jis + "\tjis\r\n" +     // one text in the tree
        "\xB1\xB2\xB3\t(\xB1)\n";                                 // half-width katakana
    Pelo pelo({{"dic.txt", dic}});
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(pelo.Items(IDC_KAOMOJI_LIST), Strings{});
    EXPECT_EQ(ShownTree(pelo), (Strings{
                                   "ab",
                                   "  abc:  (c1) (c2)",
                                   "  abd : (d2)",
                                   "  abd: (d1)",
                                   "xy",
                                   "  xy: ",
                                   "ab",
                                   "  abc:  (c1) (c2)",
                                   "A",
                                   "  A: (A)",
                                   so,
                                   "  " + so + "|: (s1)",
                                   "  " + so + hyo + ": " + so + "(s2)",
                                   "zz",
                                   "  zz" + jis + ": jis",
                                   "  zz" + jis + ": nec",
                                   "\xB1\xB2",
                                   "  \xB1\xB2\xB3: (\xB1)",
                               }));
}

// A dictionary saved in UTF-8, as today's editors save it, with or without
// the byte-order mark: every character shown, and delivered, exactly.
TEST(Dictionary, AUtf8FileShowsAndDeliversEveryCharacter) {
    const std::wstring dic =
        L"ハート\t(♥ω♥)\r\n"
        L"ハート\tʕ•ᴥ•ʔ\tくま\r\n"
        L"AB\t\U0001F43B\r\n"  // beyond the BMP: a surrogate pair
        L"Aあ\t(ง ˙o˙)ว\r\n"   // a group of one single-byte character
        L"لا\tل(ﾟ∀ﾟ)ل\r\n"     // right to left
        L"é\t(´▽`)\u0301\n"    // a combining mark
        L"ソ\t(ソ)\r\n";       // within Shift-JIS
    const std::vector<std::wstring> tree = {
        L"ハ", L"  ハート: (♥ω♥) ʕ•ᴥ•ʔ", L"AB", L"  AB: \U0001F43B", L"A",  L"  Aあ: (ง ˙o˙)ว",
        L"ل",  L"  لا: ل(ﾟ∀ﾟ)ل",         L"é",  L"  é: (´▽`)\u0301", L"ソ", L"  ソ: (ソ)"};
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        SCOPED_TRACE(mark.empty() ? "without the mark" : "with the mark");
        Pelo pelo({{"dic.txt", mark + ToUtf8(dic)}});
        ASSERT_TRUE(pelo.Start());
        EXPECT_EQ(pelo.StartMessages(), Strings{});
        EXPECT_EQ(WideShownTree(pelo), tree);
        SelectInFirstCategory(pelo, 1);
        ASSERT_TRUE(SetClipboardText("before"));
        pelo.Command(IDC_KAOMOJI_LIST, LBN_DBLCLK);
        EXPECT_EQ(ClipboardUnicodeText(), L"ʕ•ᴥ•ʔ");
        // For programs that read only CF_TEXT: the nearest Shift-JIS text.
        EXPECT_EQ(ClipboardText(), ToCp932(L"ʕ•ᴥ•ʔ"));
    }
}

// A file that is UTF-8 but for one byte is Shift-JIS, read as it always was:
// the user sees each UTF-8 character as two or three Shift-JIS ones.
TEST(Dictionary, AUtf8FileWithOneInvalidByteReadsAsShiftJis) {
    const std::string dic = ToUtf8(L"はーと\t(♥)\r\n") + "x\t(\xFF)\r\n";
    Pelo pelo({{"dic.txt", dic}});
    ASSERT_TRUE(pelo.Start());
    const std::wstring asShiftJis = FromCp932(ToUtf8(L"はーと"));
    EXPECT_EQ(WideShownTree(pelo).at(0), FromCp932(ToUtf8(L"はーと").substr(0, 2)));
    EXPECT_EQ(WideShownTree(pelo).at(1), L"  " + asShiftJis + L": " + FromCp932(ToUtf8(L"(♥)")));
}

// (A missing one: the lifecycle test.)
TEST(Dictionary, AFileHeldByAnotherProgramEndsTheDialogWithItsMessage) {
    Pelo held;
    const HANDLE other = ::CreateFileW(held.PathOf("dic.txt").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(held.Start(), nullptr);
    EXPECT_EQ(held.StartMessages(), Strings{ResourceText(IDS_NO_DICTIONARY)});
    ::CloseHandle(other);
}

}  // namespace
