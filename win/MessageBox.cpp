#include "win/MessageBox.h"

#include "win/Application.h"
#include "win/Dialog.h"
#include "win/FileError.h"
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

int ShowMessageText(const std::wstring& text, UINT flags) {
    const std::wstring caption = AnsiToWide(ApplicationName());
    return ::MessageBoxW(MessageOwner(), text.c_str(), caption.c_str(), flags);
}

void ReportException(const std::exception_ptr& error) noexcept {
    try {
        try {
            std::rethrow_exception(error);
        } catch (const FileError& fileError) {
            fileError.Report();
        } catch (const std::bad_alloc&) {
            ShowMessageText("Out of memory.", MB_OK | MB_ICONHAND);
        } catch (const std::exception& other) {
            ShowMessageText(std::string("An unexpected error occurred.\n") + other.what(),
                            MB_OK | MB_ICONHAND);
        } catch (...) {
            ShowMessageText("An unexpected error occurred.", MB_OK | MB_ICONHAND);
        }
    } catch (...) {
        // Reporting failed too (no memory for the text): stay silent.
    }
}

}  // namespace win
