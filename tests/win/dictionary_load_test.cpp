// Loading a dictionary into a real tree control: a read error midway is
// reported with its file-error text and shows nothing of what was read, and a
// category item finds its category even when the tree changed its name.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"
#include "dictionary/CategoryTree.h"
#include "win/FileError.h"
#include "win/Strings.h"

namespace {

std::string ItemText(const win::TreeControl& tree, HTREEITEM item) {
    char text[256] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof text;
    tree.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return query.pszText;
}

// A tree control of our own, as the dialog has one.
class TreeWindow {
public:
    TreeWindow() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        m_tree.Attach(::CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 200, 200, nullptr,
                                        nullptr, nullptr, nullptr));
    }
    ~TreeWindow() { ::DestroyWindow(m_tree.Hwnd()); }
    const win::TreeControl& Tree() const { return m_tree; }
    int Count() const { return static_cast<int>(m_tree.Send(TVM_GETCOUNT)); }

private:
    win::TreeControl m_tree;
};

// Lines from memory, then the read error `error` instead of the line after
// the last.
class FailingLines {
public:
    FailingLines(std::vector<std::string> lines, win::FileError error)
        : m_lines(std::move(lines)), m_error(std::move(error)) {}
    bool ReadLine(std::string& line) {
        if (m_next == m_lines.size()) {
            throw m_error;
        }
        line = m_lines[m_next++];
        return true;
    }

private:
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
    win::FileError m_error;
};

class MemoryLines {
public:
    explicit MemoryLines(std::vector<std::string> lines) : m_lines(std::move(lines)) {}
    bool ReadLine(std::string& line) {
        if (m_next == m_lines.size()) {
            return false;
        }
        line = m_lines[m_next++];
        return true;
    }

private:
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
};

// EnumThreadWindows callback (a function, not a lambda: CALLBACK is stdcall on x86).
BOOL CALLBACK TakeMessageBox(HWND window, LPARAM result) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string_view(name) == "#32770" && ::GetDlgItem(window, 0xFFFF)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

// A message box of thread `threadId`, or null.
HWND MessageBoxOf(DWORD threadId) {
    HWND found = nullptr;
    ::EnumThreadWindows(threadId, &TakeMessageBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

// From a helper thread: waits for a message box of thread `threadId`,
// answers it with OK and gives its text (nothing if none came).
std::future<std::optional<std::string>> AnswerNextMessageBox(DWORD threadId) {
    return std::async(std::launch::async, [threadId]() -> std::optional<std::string> {
        HWND box = nullptr;
        if (!testsupport::WaitUntil([&] { return (box = MessageBoxOf(threadId)) != nullptr; })) {
            return std::nullopt;
        }
        char text[1024] = {};
        ::GetWindowTextA(::GetDlgItem(box, 0xFFFF), text, sizeof text);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return std::string(text);
    });
}

TEST(DictionaryLoad, ReadErrorIsReportedWithItsCauseAndNothingIsShown) {
    TreeWindow window;
    CategoryMap map;
    const win::FileError error =
        win::FileError::FromSystemError(ERROR_LOCK_VIOLATION, "C:\\Pelo\\dic.txt");
    FailingLines lines({"abc\t(^_^)", "abd\t(-_-)", "xyz\t(o_o)"}, error);

    auto answered = AnswerNextMessageBox(::GetCurrentThreadId());
    EXPECT_FALSE(dictionary::LoadDictionaryInto(lines, window.Tree(), map));
    const std::optional<std::string> shown = answered.get();

    ASSERT_TRUE(shown.has_value()) << "the read error was not reported";
    EXPECT_EQ(*shown, error.Message());
    EXPECT_NE(shown->find("C:\\Pelo\\dic.txt"), std::string::npos) << *shown;
    EXPECT_NE(*shown, win::LoadString(IDS_NO_DICTIONARY));
    EXPECT_EQ(window.Count(), 0);
    EXPECT_EQ(map.Size(), 0u);
}

TEST(DictionaryLoad, ItemsKeepTheirCategoryWhateverTheTreeMakesOfTheName) {
    TreeWindow window;
    CategoryMap map;
    // "ab≒" with the NEC code 87 90 and with 81 E0: one text in the tree.
    const std::string nec = "ab\x87\x90";
    const std::string jis = "ab\x81\xe0";
    MemoryLines lines({nec + "\tfirst", jis + "\tsecond", "abc\tthird", nec + "\tfourth"});
    ASSERT_TRUE(dictionary::LoadDictionaryInto(lines, window.Tree(), map));
    ASSERT_EQ(window.Count(), 5);  // one group, four category items

    const win::TreeControl& tree = window.Tree();
    const HTREEITEM group = reinterpret_cast<HTREEITEM>(tree.Send(TVM_GETNEXTITEM, TVGN_ROOT));
    EXPECT_EQ(ItemText(tree, group), "ab");
    std::vector<std::string> names;
    std::vector<CategoryMap::List> lists;
    for (auto item = reinterpret_cast<HTREEITEM>(
             tree.Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(group)));
         item; item = reinterpret_cast<HTREEITEM>(
                   tree.Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        const CategoryMap::Index index = dictionary::CategoryOfItem(tree, item);
        EXPECT_EQ(testsupport::FromCp932(ItemText(tree, item)),
                  testsupport::FromCp932(map.NameAt(index)));
        names.push_back(map.NameAt(index));
        lists.push_back(map.ListAt(index));
    }
    // The NEC code comes back from the tree as 81 E0: only the index tells
    // the two categories apart. Both runs of the first are shown together.
    EXPECT_EQ(ItemText(tree, reinterpret_cast<HTREEITEM>(tree.Send(
                                 TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(group)))),
              jis);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(std::count(names.begin(), names.end(), nec), 2);
    EXPECT_EQ(std::count(names.begin(), names.end(), jis), 1);
    auto expectedList = [&](const std::string& name) -> CategoryMap::List {
        if (name == nec) {
            return {"first", "fourth"};
        }
        return {name == jis ? "second" : "third"};
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(lists[i], expectedList(names[i]));
    }
}

}  // namespace
