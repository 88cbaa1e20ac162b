// DemoDriver.exe: makes a running Pelo presentable for the README's screenshot
// (scripts/screenshot.sh): waits for the window "Pelo", brings it forward, opens
// the first category by keyboard and prints the window's rectangle as
// "WIDTHxHEIGHT+LEFT+TOP" (an ImageMagick crop geometry). Exit code 0 on success.
#include <cstdio>

#include "TestSupport.h"
#include "app/resource.h"

using namespace testsupport;

int main() {
    HWND pelo = nullptr;
    WaitUntil([&] { return IsVisible(pelo = ::FindWindowW(L"#32770", L"Pelo")); }, 60s);
    const HWND tree = ::GetDlgItem(pelo, IDC_CATEGORY_TREE);
    if (!BringToForeground(pelo) || !WaitUntil([&] { return FocusedWindowOf(pelo) == tree; })) {
        std::fprintf(stderr, "DemoDriver: no window \"Pelo\" with the focus in its tree\n");
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
