// Time from a double-click on a kaomoji in Pelo to the text appearing in the
// application the user came from, over 20 deliveries; prints the median.
// A Windows program driving the real Pelo.exe and TargetApp.exe from its own
// process, like the end-to-end tests; run it under Wine with
//   scripts/bench.sh (all benchmarks), or alone:
//   scripts/with-wine.sh sh -c '$WINE $PELO_BUILD_DIR/win64/bin/delivery_bench.exe'
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kDeliveries = 20;

INPUT MouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

DWORD g_lastClicks = 0;

// Lets the double-click time pass since the previous clicks, which would
// otherwise pair up with the next ones.
void WaitOutDoubleClickTime() {
    testsupport::WaitUntil([] { return ::GetTickCount() - g_lastClicks > ::GetDoubleClickTime(); });
}

// A real double-click at `screen`, sent as one batch of input.
void DoubleClickAt(POINT screen) {
    g_lastClicks = ::GetTickCount();
    ::SetCursorPos(screen.x, screen.y);
    INPUT clicks[] = {MouseButton(MOUSEEVENTF_LEFTDOWN), MouseButton(MOUSEEVENTF_LEFTUP),
                      MouseButton(MOUSEEVENTF_LEFTDOWN), MouseButton(MOUSEEVENTF_LEFTUP)};
    ::SendInput(4, clicks, sizeof(INPUT));
}

// One delivery; the time from the double-click to the text in the target,
// or a negative duration when it did not arrive.
std::chrono::duration<double, std::milli> TimeOneDelivery(const testsupport::PeloProcess& pelo,
                                                          const testsupport::TargetApp& target,
                                                          const std::string& kaomoji) {
    target.SetText("");
    RECT item{};
    if (!target.Activate() || !pelo.Activate() ||
        !testsupport::ListItemScreenRect(pelo.Control(IDC_KAOMOJI_LIST), 0, item)) {
        return -1ms;
    }
    WaitOutDoubleClickTime();

    const auto start = Clock::now();
    DoubleClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    const auto deadline = start + 10s;
    while (target.Text() != kaomoji) {
        if (Clock::now() > deadline) {
            return -1ms;
        }
        std::this_thread::sleep_for(1ms);
    }
    return Clock::now() - start;
}

}  // namespace

int main() {
    if (::GetACP() != 932) {
        std::fprintf(stderr, "delivery_bench: the ANSI code page must be 932\n");
        return 2;
    }
    const std::string kaomoji = testsupport::ToCp932(L"(\u30BD\uFF0D\u30BD)\uFF89");
    testsupport::PeloProcess pelo(false);
    pelo.WriteFile("dic.txt", testsupport::ToCp932(L"かお") + "\t" + kaomoji + "\r\n");
    if (!pelo.Start() || !testsupport::ShowFirstCategory(pelo.MainWindow())) {
        std::fprintf(stderr, "delivery_bench: Pelo did not start or show its dictionary\n");
        return 1;
    }
    const testsupport::TargetApp target(L"bench target", {0, 0});
    if (target.Window() == nullptr) {
        std::fprintf(stderr, "delivery_bench: TargetApp.exe did not start\n");
        return 1;
    }

    std::vector<double> milliseconds;
    for (int i = 0; i < kDeliveries; ++i) {
        const auto elapsed = TimeOneDelivery(pelo, target, kaomoji);
        if (elapsed < 0ms) {
            std::fprintf(stderr, "delivery_bench: delivery %d did not arrive\n", i + 1);
            return 1;
        }
        milliseconds.push_back(elapsed.count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const double median = (milliseconds[kDeliveries / 2 - 1] + milliseconds[kDeliveries / 2]) / 2;
    std::printf(
        "delivery: double-click to text in target, %d deliveries: median %.1f ms "
        "(min %.1f, max %.1f)\n",
        kDeliveries, median, milliseconds.front(), milliseconds.back());
    return 0;
}
