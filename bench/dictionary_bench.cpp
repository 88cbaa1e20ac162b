// How fast the dictionary page is on large dic.txt files, end to end under
// the real Pelo.exe, driven from this process. For each dictionary, beside a
// one-line dictionary started in turn with it (medians of --runs, 5):
//   - start to populated tree, and the ratio of the two;
//   - Pelo's working set once the tree is filled, and how far above the
//     one-line case it lies, in multiples of the file's size;
//   - in this process: reading and parsing it, filling a tree control.
// For the largest category of the first dictionary:
//   - selecting it in the running Pelo to its filled list, and selecting the
//     smallest category (what selecting costs whatever the list);
//   - in this process, with a list box like Pelo's: the list filled entry by
//     entry in the ANSI code page, as Pelo, and measuring every entry the way
//     the horizontal extent does.
// Usage (under Wine, see scripts/bench.sh):
//   dictionary_bench.exe [--runs N] [NAME=dic.txt ...]
// Without a file, a 100,000-line dictionary of 300 equal categories is made.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "TestSupport.h"
#include "app/resource.h"
#include "dictionary/CategoryTree.h"
#include "dictionary/Dictionary.h"
#include "dictionary/KaomojiListBox.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"
#include "win/Strings.h"
#include "win/TextFile.h"

namespace {

using namespace std::chrono_literals;
using bench::Clock;
using bench::Median;
using bench::Milliseconds;
int g_runs = 5;

std::string BuiltInDictionary() {
    std::string bytes;
    for (int line = 0; line < 100000; ++line) {
        const int category = line / (100000 / 300);
        bytes += testsupport::ToCp932(L"かお") + std::to_string(category) + "\t" +
                 testsupport::ToCp932(L"(・∀・)") + std::to_string(line) + "\r\n";
    }
    return bytes;
}

dictionary::Dictionary Parse(std::string_view bytes) {
    text::MemorySource source(bytes);
    text::LineReader reader(source);
    return dictionary::ReadDictionary(reader, text::Cp932LeadByte);
}

int TreeItemCount(const dictionary::Dictionary& dictionary) {
    int count = 0;
    for (const auto& group : dictionary.groups) {
        count += 1 + static_cast<int>(group.categories.size());
    }
    return count;
}

LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 60000, &result);
    return static_cast<LRESULT>(result);
}

struct Start {
    double milliseconds;
    double workingSetMiB;
};

// Starting Pelo on `dic`: the time to its tree holding `items` items, and its
// working set then.
Start StartToPopulatedTree(const std::string& dic, int items) {
    testsupport::PeloProcess pelo(false);
    pelo.WriteFile("dic.txt", dic);
    const Clock::time_point start = Clock::now();
    if (!pelo.Launch() || !pelo.WaitForMainWindow(120s)) {
        std::fprintf(stderr, "Pelo did not start\n");
        std::exit(1);
    }
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    if (!testsupport::WaitUntil([&] { return SendTo(tree, TVM_GETCOUNT) == items; }, 120s)) {
        std::fprintf(stderr, "the tree did not fill\n");
        std::exit(1);
    }
    const double milliseconds = Milliseconds(Clock::now() - start);
    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(pelo.Proc().Handle(), &memory, sizeof memory);
    return {milliseconds, static_cast<double>(memory.WorkingSetSize) / (1024 * 1024)};
}

// Starts on `dic` and on a one-line dictionary in turn, and prints both.
void CompareStarts(const std::string& name, const std::string& dic, int items,
                   const std::string& oneLine) {
    std::vector<double> oneTimes, bigTimes, oneMemory, bigMemory;
    for (int run = 0; run < g_runs; ++run) {
        const Start one = StartToPopulatedTree(oneLine, 2);
        const Start big = StartToPopulatedTree(dic, items);
        oneTimes.push_back(one.milliseconds);
        bigTimes.push_back(big.milliseconds);
        oneMemory.push_back(one.workingSetMiB);
        bigMemory.push_back(big.workingSetMiB);
    }
    const double oneTime = Median(oneTimes), bigTime = Median(bigTimes);
    const double above = Median(bigMemory) - Median(oneMemory);
    const double fileMiB = static_cast<double>(dic.size()) / (1024 * 1024);
    std::printf(
        "%s: start to populated tree: one line %.0f ms, %s %.0f ms (median of %d); ratio %.2f\n",
        name.c_str(), oneTime, name.c_str(), bigTime, g_runs, bigTime / oneTime);
    std::printf(
        "%s: working set: one line %.1f MiB, %s %.1f MiB; %.1f MiB above, %.2f x the file "
        "(%.1f MiB)\n",
        name.c_str(), Median(oneMemory), name.c_str(), Median(bigMemory), above, above / fileMiB,
        fileMiB);
}

std::vector<HTREEITEM> CategoryItems(HWND tree) {
    std::vector<HTREEITEM> items;
    for (auto group = reinterpret_cast<HTREEITEM>(SendTo(tree, TVM_GETNEXTITEM, TVGN_ROOT)); group;
         group = reinterpret_cast<HTREEITEM>(
             SendTo(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(group)))) {
        for (auto item = reinterpret_cast<HTREEITEM>(
                 SendTo(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(group)));
             item; item = reinterpret_cast<HTREEITEM>(
                       SendTo(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
            items.push_back(item);
        }
    }
    return items;
}

// Selecting the largest category in the running Pelo: milliseconds until the
// selection message returns, by which time the list has been filled.
void MeasureLargestCategory(const std::string& dic, std::size_t largest) {
    testsupport::PeloProcess pelo(false);
    pelo.WriteFile("dic.txt", dic);
    if (!pelo.Start(L"Pelo.exe", 60s)) {
        std::fprintf(stderr, "Pelo did not start\n");
        std::exit(1);
    }
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const HWND list = pelo.Control(IDC_KAOMOJI_LIST);
    HTREEITEM biggest = nullptr;
    HTREEITEM smallest = nullptr;
    LRESULT fewest = 0;
    for (HTREEITEM item : CategoryItems(tree)) {
        SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        const LRESULT count = SendTo(list, LB_GETCOUNT);
        if (count == static_cast<LRESULT>(largest) && biggest == nullptr) {
            biggest = item;
        } else if (smallest == nullptr || count < fewest) {
            smallest = item;
            fewest = count;
        }
    }
    if (biggest == nullptr || smallest == nullptr) {
        std::fprintf(stderr, "no category of %zu kaomoji in the tree\n", largest);
        std::exit(1);
    }
    std::vector<double> times;
    std::vector<double> smallTimes;
    for (int run = 0; run < g_runs; ++run) {
        Clock::time_point start = Clock::now();
        SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(smallest));
        smallTimes.push_back(Milliseconds(Clock::now() - start));
        start = Clock::now();
        SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(biggest));
        times.push_back(Milliseconds(Clock::now() - start));
        if (SendTo(list, LB_GETCOUNT) != static_cast<LRESULT>(largest)) {
            std::fprintf(stderr, "the list was not filled\n");
            std::exit(1);
        }
    }
    std::printf(
        "select largest category (%zu kaomoji) to filled list: median %.1f ms; "
        "smallest category (%ld kaomoji) %.1f ms\n",
        largest, Median(times), static_cast<long>(fewest), Median(smallTimes));
}

// The same work in this process, split into its parts.
void MeasureListParts(const CategoryMap::List& kaomoji) {
    HWND owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
    HWND list = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                  0, 0, 400, 300, owner, nullptr, nullptr, nullptr);
    ::SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   0);
    ::ShowWindow(owner, SW_SHOWNOACTIVATE);

    auto time = [](const std::function<void()>& work) {
        std::vector<double> times;
        for (int run = 0; run < g_runs; ++run) {
            const Clock::time_point start = Clock::now();
            work();
            times.push_back(Milliseconds(Clock::now() - start));
        }
        return Median(times);
    };
    // Entry by entry in the ANSI code page, each converted by the list box.
    const double fillAnsi = time([&] {
        ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        ::SendMessageA(list, LB_INITSTORAGE, kaomoji.size(), kaomoji.bytes());
        for (std::string_view entry : kaomoji) {
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.data()));
        }
        ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
        ::UpdateWindow(list);
    });
    win::ListBox listBox;
    listBox.Attach(list);
    const double fill = time([&] {
        dictionary::FillKaomojiList(listBox, kaomoji, text::Encoding::ShiftJis);
        ::UpdateWindow(list);
    });
    // As the horizontal extent is found: every entry read back and measured.
    const double measureFromList = time([&] {
        HDC dc = ::GetDC(list);
        HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        int widest = 0;
        for (int i = 0; i < ::SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            std::string text(::SendMessageA(list, LB_GETTEXTLEN, i, 0), '\0');
            ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            SIZE size{};
            ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
        ::SendMessageA(list, LB_SETHORIZONTALEXTENT, widest, 0);
    });
    // The same widths taken from the index, without reading the list back.
    const double measureFromIndex = time([&] {
        HDC dc = ::GetDC(list);
        HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        int widest = 0;
        for (std::string_view entry : kaomoji) {
            SIZE size{};
            ::GetTextExtentPoint32A(dc, entry.data(), static_cast<int>(entry.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
        ::SendMessageA(list, LB_SETHORIZONTALEXTENT, widest, 0);
    });
    std::printf(
        "in process, %zu kaomoji: fill as Pelo, with its horizontal extent, %.1f ms (entry by "
        "entry in the ANSI code page, without it, "
        "%.1f ms); horizontal extent from every entry read back from the list %.1f ms, "
        "from the index %.1f ms\n",
        kaomoji.size(), fill, fillAnsi, measureFromList, measureFromIndex);
    ::DestroyWindow(owner);
}

// The load in this process, split into its parts: reading and parsing the
// file, and filling a tree control.
void MeasureLoadParts(const std::string& dic) {
    testsupport::TempFolder folder;
    testsupport::WriteFileBytes(folder / "dic.txt", dic);
    const std::wstring path = (folder / "dic.txt").wstring();
    std::vector<double> reads;
    std::vector<double> fills;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    for (int run = 0; run < g_runs; ++run) {
        const Clock::time_point start = Clock::now();
        std::optional<win::TextFile> file = win::TextFile::Open(path, {});
        const dictionary::Dictionary loaded =
            dictionary::ReadDictionaryBytes(file->ReadAll(), win::SystemLeadByte);
        const Clock::time_point read = Clock::now();
        win::TreeControl tree;
        tree.Attach(::CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 200, 200, nullptr,
                                      nullptr, nullptr, nullptr));
        dictionary::FillCategoryTree(tree, loaded);
        fills.push_back(Milliseconds(Clock::now() - read));
        reads.push_back(Milliseconds(read - start));
        ::DestroyWindow(tree.Hwnd());
    }
    std::printf("in process: read and parse %.1f ms, fill the tree %.1f ms (median of %d)\n",
                Median(reads), Median(fills), g_runs);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, std::string>> dictionaries;  // name, bytes
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc) {
            g_runs = std::max(1, std::atoi(argv[++i]));
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string path =
            equals == std::string::npos ? argument : argument.substr(equals + 1);
        std::string bytes = testsupport::ReadFileBytes(path);
        if (bytes.empty()) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        dictionaries.emplace_back(
            equals == std::string::npos ? "large" : argument.substr(0, equals), std::move(bytes));
    }
    if (dictionaries.empty()) {
        dictionaries.emplace_back("large (built-in)", BuiltInDictionary());
    }
    const std::string one = testsupport::ToCp932(L"あいさつ\t(^_^)/\r\n");

    for (const auto& [name, bytes] : dictionaries) {
        const dictionary::Dictionary parsed = Parse(bytes);
        const int items = TreeItemCount(parsed);
        std::printf("%s: %zu bytes, %zu categories in %zu groups, %d tree items\n", name.c_str(),
                    bytes.size(), parsed.categories.Size(), parsed.groups.size(), items);
        MeasureLoadParts(bytes);
        CompareStarts(name, bytes, items, one);
    }

    const dictionary::Dictionary first = Parse(dictionaries.front().second);
    std::size_t largest = 0;
    CategoryMap::Index largestIndex = 0;
    for (CategoryMap::Index i = 0; i < first.categories.Size(); ++i) {
        if (first.categories.ListAt(i).size() > largest) {
            largest = first.categories.ListAt(i).size();
            largestIndex = i;
        }
    }
    MeasureLargestCategory(dictionaries.front().second, largest);
    MeasureListParts(first.categories.ListAt(largestIndex));
    return 0;
}
