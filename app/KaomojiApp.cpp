// Pelo's entry: one application object that refuses to run twice, runs the
// main dialog modally for the whole life of the process and then shuts down.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/resource.h"
#include "ui/MainDialog.h"
#include "win/Application.h"
#include "win/Strings.h"

namespace {

// Names the single-instance guard; no namespace prefix, so it is per session.
constexpr char kInstanceMutexName[] = "QuilbaxPelomi";

class KaomojiApp : public win::Application {
public:
    BOOL InitInstance() override;

private:
    static void ActivateRunningInstance();
};

// Always FALSE: the main dialog's modal run is the whole program, so there
// is no message loop to enter afterwards.
BOOL KaomojiApp::InitInstance() {
    ::InitCommonControls();
    Application::InitInstance();

    // The handle stays open until the process ends: the mutex must exist as
    // long as this instance runs, owned or not.
    const HANDLE mutex = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    if (mutex == nullptr) {
        return FALSE;
    }
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ActivateRunningInstance();
        return FALSE;
    }

    // Pelo stores no settings: no settings key is named.

    MainDialog dialog;
    dialog.SetHotkey(hotkey::FromCommandLine());
    SetMainWindow(&dialog);
    dialog.DoModal();  // every way out of the dialog leads to the same shutdown
    dialog.CleanUp();
    SetMainWindow(nullptr);
    ::ReleaseMutex(mutex);
    return FALSE;
}

// Brings the first instance's window forward as it is: a window hidden in
// the notification area stays hidden.
void KaomojiApp::ActivateRunningInstance() {
    const std::string title = win::LoadString(IDS_MAIN_TITLE);
    if (HWND running = ::FindWindowA(nullptr, title.c_str())) {
        ::SetForegroundWindow(running);
    }
}

KaomojiApp theApp;

}  // namespace
