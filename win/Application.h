// The application object: one global instance, whose InitInstance the entry
// point calls once. When InitInstance returns FALSE the program ends at once;
// Pelo's runs the main dialog modally inside it and always returns FALSE.
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

    virtual BOOL InitInstance() { return TRUE; }

    // Runs the application: InitInstance and then, only if that returned
    // TRUE, a message loop. Returns the process's exit code: 1 after an
    // exception, which the user is shown.
    int Run();

    HINSTANCE Instance() const noexcept;
    // Icon `id` at the system's large-icon size (LoadIconA).
    HICON LoadIcon(UINT id) const;

    // Names the per-user settings location; nothing is read or written there.
    void SetRegistryKey(const char* key) { m_registryKey = key; }
    const std::string& RegistryKey() const noexcept { return m_registryKey; }

    // The main window: owner of dialogs created without a parent.
    Dialog* MainWindow() const noexcept { return m_mainWindow; }
    void SetMainWindow(Dialog* dialog) noexcept { m_mainWindow = dialog; }

private:
    Dialog* m_mainWindow = nullptr;
    std::string m_registryKey;
};

}  // namespace win
