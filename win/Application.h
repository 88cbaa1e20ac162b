// The application object: one global instance, whose InitInstance the entry
// point calls once. The program's windows run modally inside it; when it
// returns, whatever it returns, the program ends (there is no message loop
// after it: Pelo's always returns FALSE).
#pragma once

#include <windows.h>

#include <string>

namespace win {

class Dialog;

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application& Current();
    // The instance, or null when the program defines none (test programs).
    static Application* TryCurrent() noexcept;

    virtual BOOL InitInstance() { return FALSE; }

    // Runs the application: InitInstance. Returns the process's exit code:
    // 0, or 1 after an exception, which the user is shown.
    int Run();

    HINSTANCE Instance() const noexcept;
    // Icon `id` at the system's large-icon size (LoadIconA).
    HICON LoadIcon(UINT id) const;

    // The main window: owner of dialogs created without a parent.
    Dialog* MainWindow() const noexcept { return m_mainWindow; }
    void SetMainWindow(Dialog* dialog) noexcept { m_mainWindow = dialog; }

private:
    Dialog* m_mainWindow = nullptr;
};

}  // namespace win
