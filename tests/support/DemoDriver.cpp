// DemoDriver.exe: makes a running Pelo presentable for a screenshot. It waits for
// the window "Pelo", brings it forward, walks the category tree by keyboard until
// the kaomoji list shows entries, and prints the window's screen rectangle as
// "WIDTHxHEIGHT+LEFT+TOP" (an ImageMagick crop geometry). Exit code 0 on success.
#include <cstdio>

#include "E2e.h"
#include "app/resource.h"

namespace {

using namespace e2e;

HWND WaitForPelo() {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = ::FindWindowW(L"#32770", L"Pelo");
            return found && ::IsWindowVisible(found);
        },
        60s);
    return found;
}

// The first group is selected when the tree gets the focus: Right opens it,
// Down moves on to its first category (a few rounds cover other layouts).
bool ShowFirstCategory(HWND pelo) {
    const HWND list = ::GetDlgItem(pelo, IDC_KAOMOJI_LIST);
    for (int round = 0; round < 10; ++round) {
        for (WORD key : {VK_RIGHT, VK_DOWN}) {
            if (!PressKeyIn(pelo, key)) {
                return false;
            }
            if (WaitUntil([&] { return ListCount(list) > 0; }, 500ms)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int main() {
    const HWND pelo = WaitForPelo();
    if (!pelo) {
        std::fprintf(stderr, "DemoDriver: no window \"Pelo\" appeared\n");
        return 1;
    }
    const HWND tree = ::GetDlgItem(pelo, IDC_CATEGORY_TREE);
    if (!BringToForeground(pelo) || !WaitUntil([&] { return FocusedWindowOf(pelo) == tree; })) {
        std::fprintf(stderr, "DemoDriver: could not put the focus in the category tree\n");
        return 1;
    }
    if (!ShowFirstCategory(pelo)) {
        std::fprintf(stderr, "DemoDriver: no category showed any kaomoji\n");
        return 1;
    }
    const RECT rect = ScreenRect(pelo);
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
    return 0;
}
