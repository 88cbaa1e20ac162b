// How fast the dictionary page is on a large dic.txt, end to end under the
// real Pelo.exe, driven from this process:
//   - start to populated tree, one-line vs large dictionary (median of 5);
//   - selecting the largest category to its filled list (median of 5);
//   - in this process, with a list box like Pelo's: filling that category's
//     kaomoji, and measuring every entry the way the horizontal extent does.
// Usage (under Wine, see scripts/bench.sh):
//   dictionary_bench.exe [large dic.txt]
// Without a file, a 100,000-line dictionary of 300 equal categories is made.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "E2e.h"
#include "app/resource.h"
#include "dictionary/CategoryTree.h"
#include "dictionary/Dictionary.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"
#include "win/Strings.h"
#include "win/TextFile.h"

namespace {

using namespace std::chrono_literals;
using bench::Clock;
using bench::Median;
using bench::Milliseconds;
constexpr int kRuns = 5;

std::string BuiltInDictionary() {
    std::string bytes;
    for (int line = 0; line < 100000; ++line) {
        const int category = line / (100000 / 300);
        bytes += e2e::ToCp932(L"かお") + std::to_string(category) + "\t" +
                 e2e::ToCp932(L"(・∀・)") + std::to_string(line) + "\r\n";
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

// Milliseconds from starting Pelo on `dic` to its tree holding `items` items.
double StartToPopulatedTree(const std::string& dic, int items) {
    e2e::PeloProcess pelo(false);
    pelo.WriteFile("dic.txt", dic);
    const Clock::time_point start = Clock::now();
    if (!pelo.Launch() || !pelo.WaitForMainWindow(60s)) {
        std::fprintf(stderr, "Pelo did not start\n");
        std::exit(1);
    }
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    if (!e2e::WaitUntil([&] { return SendTo(tree, TVM_GETCOUNT) == items; }, 60s)) {
        std::fprintf(stderr, "the tree did not fill\n");
        std::exit(1);
    }
    return Milliseconds(Clock::now() - start);
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
    e2e::PeloProcess pelo(false);
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
        if (count == static_cast<LRESULT>(largest)) {
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
    for (int run = 0; run < kRuns; ++run) {
        SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(smallest));
        const Clock::time_point start = Clock::now();
        SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(biggest));
        times.push_back(Milliseconds(Clock::now() - start));
        if (SendTo(list, LB_GETCOUNT) != static_cast<LRESULT>(largest)) {
            std::fprintf(stderr, "the list was not filled\n");
            std::exit(1);
        }
    }
    std::printf("select largest category (%zu kaomoji) to filled list: median %.1f ms\n", largest,
                Median(times));
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
        for (int run = 0; run < kRuns; ++run) {
            const Clock::time_point start = Clock::now();
            work();
            times.push_back(Milliseconds(Clock::now() - start));
        }
        return Median(times);
    };
    const double fill = time([&] {
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
        "in process, %zu kaomoji: fill (no redraw, LB_INITSTORAGE) %.1f ms; "
        "horizontal extent from every entry read back from the list %.1f ms, "
        "from the index %.1f ms\n",
        kaomoji.size(), fill, measureFromList, measureFromIndex);
    ::DestroyWindow(owner);
}

// The load in this process, split into its parts: reading and parsing the
// file, and filling a tree control.
void MeasureLoadParts(const std::string& dic) {
    testsupport::TempFolder folder;
    testsupport::WriteFileBytes(folder / "dic.txt", dic);
    const std::string path = testsupport::ToCp932((folder / "dic.txt").wstring());
    std::vector<double> reads;
    std::vector<double> fills;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    for (int run = 0; run < kRuns; ++run) {
        const Clock::time_point start = Clock::now();
        std::optional<win::TextFile> file = win::TextFile::Open(path, {});
        const dictionary::Dictionary loaded =
            dictionary::ReadDictionary(*file, win::SystemLeadByte);
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
                Median(reads), Median(fills), kRuns);
}

}  // namespace

int main(int argc, char** argv) {
    std::string big = argc > 1 ? testsupport::ReadFileBytes(argv[1]) : BuiltInDictionary();
    if (big.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string one = e2e::ToCp932(L"あいさつ\t(^_^)/\r\n");
    const dictionary::Dictionary bigDictionary = Parse(big);
    const int bigItems = TreeItemCount(bigDictionary);
    std::printf("large dictionary: %zu bytes, %zu categories, %d tree items%s\n", big.size(),
                bigDictionary.categories.Size(), bigItems, argc > 1 ? "" : " (built-in)");

    MeasureLoadParts(big);

    std::vector<double> oneTimes;
    std::vector<double> bigTimes;
    for (int run = 0; run < kRuns; ++run) {
        oneTimes.push_back(StartToPopulatedTree(one, 2));
        bigTimes.push_back(StartToPopulatedTree(big, bigItems));
    }
    const double oneMedian = Median(oneTimes);
    const double bigMedian = Median(bigTimes);
    std::printf(
        "start to populated tree: one line %.0f ms, large %.0f ms (median of %d); "
        "ratio %.2f\n",
        oneMedian, bigMedian, kRuns, bigMedian / oneMedian);

    std::size_t largest = 0;
    CategoryMap::Index largestIndex = 0;
    for (CategoryMap::Index i = 0; i < bigDictionary.categories.Size(); ++i) {
        if (bigDictionary.categories.ListAt(i).size() > largest) {
            largest = bigDictionary.categories.ListAt(i).size();
            largestIndex = i;
        }
    }
    MeasureLargestCategory(big, largest);
    MeasureListParts(bigDictionary.categories.ListAt(largestIndex));
    return 0;
}
