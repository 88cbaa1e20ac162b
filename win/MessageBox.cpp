#include "win/MessageBox.h"

#include "win/Application.h"
#include "win/Dialog.h"
#include "win/Strings.h"

namespace win {

namespace {

// The window a message box is modal to: this thread's active window, else
// the main window (for instance while it initialises, before it is shown).
HWND MessageOwner() {
    if (HWND active = ::GetActiveWindow()) {
        return active;
    }
    if (Application* app = Application::TryCurrent()) {
        if (Dialog* main = app->MainWindow()) {
            return main->Hwnd();
        }
    }
    return nullptr;
}

}  // namespace

int ShowMessage(UINT stringId, UINT flags) {
    return ShowMessageText(LoadString(stringId), flags);
}

int ShowMessageText(const std::string& text, UINT flags) {
    const std::string caption = ApplicationName();
    return ::MessageBoxA(MessageOwner(), text.c_str(), caption.c_str(), flags);
}

}  // namespace win
