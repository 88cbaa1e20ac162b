// Pelo's pages as a user reaches them: a tab, a category of the dictionary.
#include "E2e.h"
#include "app/resource.h"

namespace e2e {

bool ShowPage(const PeloProcess& pelo, int index) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (pelo.Activate() && SelectTab(pelo.Control(IDC_TAB), index)) {
            return true;
        }
    }
    return false;
}

bool ShowFirstCategory(const PeloProcess& pelo) {
    const HWND list = pelo.Control(IDC_KAOMOJI_LIST);
    const auto shown = [&] { return ListCount(list) > 0; };
    if (shown()) {
        return true;
    }
    // Down and Right in turn walk into the tree until the first category's
    // kaomoji show.
    for (int round = 0; round < 6; ++round) {
        for (WORD key : {VK_DOWN, VK_RIGHT}) {
            if (!PressKeyIn(pelo.MainWindow(), key)) {
                return false;
            }
            if (WaitUntil(shown, 500ms)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace e2e
