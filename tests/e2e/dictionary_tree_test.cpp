// The dictionary page seen from outside: the running Pelo's category tree and
// kaomoji list are compared with what the pure parser makes of the same
// dic.txt, and a dictionary that cannot be opened ends Pelo with message 501.
//
// Tree messages carry pointers that are not marshalled between processes, so
// item texts are read through a buffer placed in Pelo's own memory. Which
// order the categories of a group take is the tree control's own collation:
// the expected tree is built in this process with a real tree control.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "E2e.h"
#include "app/resource.h"
#include "dictionary/Dictionary.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"

namespace {

using namespace e2e;
using dictionary::Dictionary;

const std::string kNoDictionaryText = ToCp932(L"顔文字ファイルが存在しません。");

// An item of a category tree in the order a walk from the top meets it.
struct TreeItem {
    std::wstring text;
    bool isGroup = false;
    HTREEITEM handle = nullptr;  // valid in the tree's own process
    LPARAM data = 0;
};

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM item = nullptr) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item),
                          SMTO_ABORTIFHUNG, 10000, &result);
    return reinterpret_cast<HTREEITEM>(result);
}

// Groups and their categories, top to bottom; `read` fills text and data.
template <typename ReadItem>
std::vector<TreeItem> WalkTree(HWND tree, ReadItem read) {
    std::vector<TreeItem> items;
    for (HTREEITEM group = NextItem(tree, TVGN_ROOT); group;
         group = NextItem(tree, TVGN_NEXT, group)) {
        items.push_back(read(group));
        items.back().isGroup = true;
        for (HTREEITEM category = NextItem(tree, TVGN_CHILD, group); category;
             category = NextItem(tree, TVGN_NEXT, category)) {
            items.push_back(read(category));
        }
    }
    return items;
}

// Reads items of a tree in another process through memory lent by that process.
class RemoteTreeReader {
public:
    static constexpr std::size_t kTextChars = 4096;

    RemoteTreeReader(HWND tree, HANDLE process)
        : m_tree(tree),
          m_process(process),
          m_block(::VirtualAllocEx(process, nullptr, sizeof(TVITEMW) + kTextChars * 2,
                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteTreeReader() {
        if (m_block) {
            ::VirtualFreeEx(m_process, m_block, 0, MEM_RELEASE);
        }
    }
    RemoteTreeReader(const RemoteTreeReader&) = delete;
    RemoteTreeReader& operator=(const RemoteTreeReader&) = delete;

    bool Ready() const { return m_block != nullptr; }

    TreeItem operator()(HTREEITEM item) const {
        auto* remoteText =
            reinterpret_cast<wchar_t*>(static_cast<char*>(m_block) + sizeof(TVITEMW));
        TVITEMW request{};
        request.mask = TVIF_TEXT | TVIF_HANDLE;
        request.hItem = item;
        request.pszText = remoteText;
        request.cchTextMax = kTextChars;
        std::vector<wchar_t> text(kTextChars, L'\0');
        ::WriteProcessMemory(m_process, m_block, &request, sizeof request, nullptr);
        DWORD_PTR ok = 0;
        ::SendMessageTimeoutW(m_tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(m_block),
                              SMTO_ABORTIFHUNG, 10000, &ok);
        if (ok) {
            ::ReadProcessMemory(m_process, remoteText, text.data(), kTextChars * 2, nullptr);
        }
        text.back() = L'\0';
        return {text.data(), false, item, 0};
    }

private:
    HWND m_tree;
    HANDLE m_process;
    void* m_block;
};

// The tree Pelo should show, built in this process with a real tree control
// in the way the parser's events describe: groups at the end, categories
// TVI_SORT; each category item carries its category's index.
class ExpectedTree {
public:
    explicit ExpectedTree(const Dictionary& dictionary) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        m_tree = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                   nullptr, nullptr);
        for (const Dictionary::Group& group : dictionary.groups) {
            const HTREEITEM groupItem =
                Insert(testsupport::FromCp932(group.key), TVI_ROOT, TVI_LAST, 0);
            for (const CategoryMap::Index index : group.categories) {
                Insert(testsupport::FromCp932(dictionary.categories.NameAt(index)), groupItem,
                       TVI_SORT, static_cast<LPARAM>(index));
            }
        }
    }
    ~ExpectedTree() { ::DestroyWindow(m_tree); }
    ExpectedTree(const ExpectedTree&) = delete;
    ExpectedTree& operator=(const ExpectedTree&) = delete;

    std::vector<TreeItem> Items() const {
        return WalkTree(m_tree, [this](HTREEITEM item) {
            wchar_t text[RemoteTreeReader::kTextChars] = {};
            TVITEMW request{};
            request.mask = TVIF_TEXT | TVIF_PARAM | TVIF_HANDLE;
            request.hItem = item;
            request.pszText = text;
            request.cchTextMax = RemoteTreeReader::kTextChars;
            ::SendMessageW(m_tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&request));
            return TreeItem{text, false, item, request.lParam};
        });
    }

private:
    HTREEITEM Insert(const std::wstring& text, HTREEITEM parent, HTREEITEM after, LPARAM data) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<wchar_t*>(text.c_str());
        insert.item.lParam = data;
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(m_tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    HWND m_tree = nullptr;
};

Dictionary Parse(std::string_view bytes) {
    text::MemorySource source(bytes);
    text::LineReader reader(source);
    return dictionary::ReadDictionary(reader, text::Cp932LeadByte);
}

template <typename Entries>
std::vector<std::wstring> Wide(const Entries& list) {
    std::vector<std::wstring> wide;
    for (std::string_view entry : list) {
        wide.push_back(testsupport::FromCp932(entry));
    }
    return wide;
}

// Selects `item` as the tree does for a user: the tree sends TVN_SELCHANGED.
void Select(HWND tree, HTREEITEM item) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item),
                          SMTO_ABORTIFHUNG, 10000, &result);
}

// Starts Pelo on `dic` and checks every tree item and every category's list.
void ExpectPeloShows(std::string_view dic) {
    PeloProcess pelo(false);
    ASSERT_TRUE(pelo.WriteFile("dic.txt", dic));
    ASSERT_TRUE(pelo.Start());
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const HWND list = pelo.Control(IDC_KAOMOJI_LIST);
    ASSERT_TRUE(tree && list);

    const Dictionary dictionary = Parse(dic);
    const std::vector<TreeItem> expected = ExpectedTree(dictionary).Items();
    RemoteTreeReader reader(tree, pelo.Proc().Handle());
    ASSERT_TRUE(reader.Ready());
    const std::vector<TreeItem> shown = WalkTree(tree, std::ref(reader));
    ASSERT_EQ(shown.size(), expected.size());

    std::vector<std::wstring> showing = Wide(ListItems(list));
    EXPECT_TRUE(showing.empty());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i << " " << ToCp932(expected[i].text));
        ASSERT_EQ(shown[i].isGroup, expected[i].isGroup);
        EXPECT_EQ(shown[i].text, expected[i].text);
        Select(tree, shown[i].handle);
        if (!expected[i].isGroup) {
            showing =
                Wide(dictionary.categories.ListAt(static_cast<std::size_t>(expected[i].data)));
        }
        // A group item leaves the list as it was.
        EXPECT_EQ(Wide(ListItems(list)), showing);
    }
}

// A dictionary with what real files hold: runs of categories of one group in
// no particular order (names that differ in case or width among them),
// groups that come back later in the file, categories in separate runs,
// names of one byte, double-byte and mixed, trail bytes '\\' and '|', blank
// and padded lines, lines without TAB or with several, LF and CR LF.
std::string GeneratedDictionary(unsigned seed) {
    // Each family's names share their first two bytes: one group item.
    const std::vector<std::vector<std::wstring>> families = {
        {L"あいさつ", L"あせあせ", L"あくび", L"あ", L"あア"},
        {L"ソワソワ", L"ソーダ", L"ソ", L"ソ|"},
        {L"表情", L"表現", L"表"},
        {L"ｱｲｽ", L"ｱｲｺﾝ", L"ｱｲ"},
        {L"A"},
        {L"AB", L"ABC", L"ABc", L"AB\\"},
        {L"abc", L"abC", L"abＣ", L"ab ", L"ab"},
        {L"xあ", L"xい", L"xア"},
        {L"　空白", L"　余白"},
        {L"能天気", L"能力"},
        {L"もぐもぐ", L"もふもふ"},
    };
    const wchar_t* faces[] = {L"(^_^)/",    L"(・∀・)", L"ヽ(´ー｀)ノ", L"(ﾟДﾟ)",
                              L"＼(^o^)／", L"(－_－)", L"ｿ|ｿ",         L" (*^_^*)"};
    const wchar_t* pads[] = {L"", L" ", L"\t", L" \t "};
    const wchar_t* tabs[] = {L"\t", L"\t\t", L"\t\t\t"};
    std::mt19937 random(seed);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    std::wstring text;
    int serial = 0;
    for (int group = 0; group < 30; ++group) {
        const std::vector<std::wstring>& family = families[pick(families.size())];
        for (std::size_t run = 1 + pick(3); run-- > 0;) {
            const std::wstring& name = family[pick(family.size())];
            for (std::size_t line = 1 + pick(3); line-- > 0;) {
                text += pads[pick(4)] + name;
                if (pick(8) != 0) {
                    text += tabs[pick(3)] + std::wstring(faces[pick(std::size(faces))]) +
                            std::to_wstring(++serial);
                    text += pick(5) == 0 ? L"\tignored" : L"";
                }
                text += pads[pick(4)];
                text += pick(3) == 0 ? L"\n" : L"\r\n";
                if (pick(10) == 0) {
                    text += L" \t　\r\n";
                }
            }
        }
    }
    return ToCp932(text);
}

TEST(DictionaryTree, ShowsWhatTheParserReadsFromGeneratedFiles) {
    for (unsigned seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        ExpectPeloShows(GeneratedDictionary(seed));
    }
}

TEST(DictionaryTree, CategoryItemsFindTheirOwnListWhateverTheirName) {
    // "ab≒" twice: once with the NEC code 87 90 and once with 81 E0. The tree
    // holds both as the same UTF-16 text; each item must still show its own.
    ExpectPeloShows("ab\x87\x90\tfirst\r\nab\x81\xe0\tsecond\r\nab\x87\x90\tthird\r\n");
}

TEST(DictionaryTree, ShowsTheSharedRealDictionary) {
    wchar_t folder[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"PELO_SHARED_TESTDATA", folder, MAX_PATH) == 0) {
        GTEST_SKIP() << "PELO_SHARED_TESTDATA is not set";
    }
    const std::string dic =
        testsupport::ReadFileBytes(std::filesystem::path(folder) / L"mozc-emoticon" / L"dic.txt");
    if (dic.empty()) {
        GTEST_SKIP() << "no mozc-emoticon/dic.txt in the shared test data";
    }
    ExpectPeloShows(dic);
}

// Pelo shows message 501 with its own name as the caption, and ends once it
// is answered.
void ExpectNoDictionaryMessage(PeloProcess& pelo, const std::string& caption,
                               std::wstring_view exeName = L"Pelo.exe") {
    ASSERT_TRUE(pelo.Launch(exeName));
    const HWND box = WaitForMessageBox(pelo.Id());
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(MessageBoxText(box), kNoDictionaryText);
    EXPECT_EQ(MessageBoxCaption(box), caption);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(pelo.WaitForExit().has_value()) << "Pelo did not end";
}

TEST(DictionaryTree, MissingDictionaryShowsMessage501AndEnds) {
    PeloProcess pelo(false);
    ExpectNoDictionaryMessage(pelo, "Pelo");
}

TEST(DictionaryTree, MessageCaptionFollowsTheExecutableName) {
    PeloProcess pelo(false);
    ExpectNoDictionaryMessage(pelo, "Foo", L"Foo.exe");
}

TEST(DictionaryTree, LockedDictionaryShowsMessage501) {
    PeloProcess pelo;
    const std::unique_ptr<void, decltype(&::CloseHandle)> lock(
        ::CreateFileW(pelo.PathOf("dic.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                      nullptr),
        &::CloseHandle);
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    ExpectNoDictionaryMessage(pelo, "Pelo");
}

}  // namespace
