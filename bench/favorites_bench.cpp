// How the favourites page keeps up with a long Favorite.txt, end to end under
// the real Pelo.exe, driven from this process. For each list length:
//   - start to visible window (the load runs before the window shows);
//   - one add: duplicate test over the list, append, reload (median of 5);
//   - one move down and one delete: each a full rewrite of the file through
//     a temporary file (median of 5).
// Usage (under Wine): favorites_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace std::chrono_literals;
using bench::Clock;
using bench::Median;
using bench::Milliseconds;
constexpr int kRuns = 5;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "favorites_bench: %s\n", what);
    std::exit(1);
}

std::string Kaomoji(int number) {
    return testsupport::ToCp932(L"(´・ω・`)") + std::to_string(number);
}

// Clicks a button and returns once its handler has returned.
double TimedClick(HWND button) {
    const Clock::time_point start = Clock::now();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result)) {
        Fail("a click did not finish (message box?)");
    }
    return Milliseconds(Clock::now() - start);
}

void Measure(int favorites) {
    testsupport::PeloProcess pelo(false);
    std::string dic;
    for (int run = 0; run < kRuns; ++run) {
        dic += testsupport::ToCp932(L"かお") + "\t" + Kaomoji(-1 - run) + "\r\n";
    }
    pelo.WriteFile("dic.txt", dic);
    std::string file;
    for (int number = 0; number < favorites; ++number) {
        file += Kaomoji(number) + "\r\n";
    }
    pelo.WriteFile("Favorite.txt", file);

    const Clock::time_point start = Clock::now();
    if (!pelo.Start(L"Pelo.exe", 60s)) {
        Fail("Pelo did not start");
    }
    const double startMs = Milliseconds(Clock::now() - start);
    const HWND list = pelo.Control(IDC_FAVORITE_LIST);
    if (testsupport::ListCount(list) != favorites) {
        Fail("the favourites did not load");
    }

    if (!testsupport::ShowFirstCategory(pelo.MainWindow())) {
        Fail("the category did not show");
    }
    const HWND kaomoji = pelo.Control(IDC_KAOMOJI_LIST);
    std::vector<double> adds;
    for (int run = 0; run < kRuns; ++run) {
        testsupport::SetListSelection(kaomoji, run);
        adds.push_back(TimedClick(pelo.Control(IDC_ADD_FAVORITE)));
    }
    if (testsupport::ListCount(list) != favorites + kRuns) {
        Fail("the adds did not arrive");
    }

    if (!testsupport::SelectTab(pelo.Control(IDC_TAB), testsupport::kFavoritesTab)) {
        Fail("could not show the favourites page");
    }
    std::vector<double> moves;
    std::vector<double> deletes;
    for (int run = 0; run < kRuns; ++run) {
        testsupport::SetListSelection(list, 0);
        moves.push_back(TimedClick(pelo.Control(IDC_FAVORITE_DOWN)));
        deletes.push_back(TimedClick(pelo.Control(IDC_DELETE_FAVORITE)));
    }
    if (testsupport::ListCount(list) != favorites) {
        Fail("the deletes did not happen");
    }
    std::printf(
        "%6d favourites (%7zu bytes): start to window %7.1f ms; add %6.1f ms; "
        "move %6.1f ms; delete %6.1f ms (medians of %d)\n",
        favorites, file.size(), startMs, Median(adds), Median(moves), Median(deletes), kRuns);
}

}  // namespace

int main() {
    for (int favorites : {10, 1000, 10000}) {
        Measure(favorites);
    }
    return 0;
}
