// What every Windows test shares. Window texts are read in their W form and
// converted to CP932, which also works across processes.
#pragma once

#include <windows.h>

#include "win/UniqueHandle.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

using namespace std::chrono_literals;
inline constexpr std::chrono::milliseconds kDefaultTimeout = 10s;

std::string ToCp932(std::wstring_view text);
std::wstring FromCp932(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);
// String `id` of the resources linked into the test (Pelo's own script), in CP932.
std::string ResourceText(UINT id);

// A fresh folder under %TEMP%, deleted with its contents on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const noexcept { return m_path; }
    std::filesystem::path operator/(std::string_view cp932) const;  // "AA\\x.txt"

private:
    std::filesystem::path m_path;
};

std::string ReadFileBytes(const std::filesystem::path& path);  // "" when unreadable
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);  // makes folders
bool FileExists(const std::filesystem::path& path);
std::filesystem::path ExecutableFolder();  // Pelo.exe and TargetApp.exe lie beside the tests

void PumpMessages();
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kDefaultTimeout);

std::vector<HWND> TopLevelWindows(DWORD pid);  // visible or not
HWND FindTopLevelWindow(DWORD pid, std::wstring_view title, std::wstring_view className = {});
DWORD ProcessIdOf(HWND window);
std::wstring WindowTextW(HWND window);
std::string WindowText(HWND window);
bool IsVisible(HWND window);
RECT ScreenRect(HWND window);
HWND FocusedWindowOf(HWND window);  // the focus in `window`'s thread
bool BringToForeground(HWND window);
bool Settle(HWND window);  // returns once `window`'s thread is back in its message loop

void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});
bool PressKeyIn(HWND window, WORD vk);  // after bringing its top-level window forward
// Types `text` as an input method hands over what it composed: one
// KEYEVENTF_UNICODE key (VK_PACKET) per UTF-16 unit.
void TypeText(std::wstring_view text);
void SetEditText(HWND edit, std::string_view cp932);
int ListCount(HWND list);
std::vector<std::string> ListItems(HWND list);
std::vector<std::wstring> WideListItems(HWND list);  // as the list holds them
int ListSelection(HWND list);                        // LB_ERR when none
void SetListSelection(HWND list, int index);         // without notification, as a program would
bool ListItemScreenRect(HWND list, int index, RECT& rect);  // false when out of view
bool DoubleClickListItem(HWND list, int index);
// Focuses the tab control and walks to tab `index` with arrow keys: the control notifies.
bool SelectTab(HWND tab, int index);

// A message box of process `pid`: a visible #32770 holding a static 0xFFFF.
HWND FindMessageBox(DWORD pid);
HWND WaitForMessageBox(DWORD pid);
std::string MessageBoxText(HWND box);
bool AnswerMessageBox(HWND box, int id = IDOK);  // and waits for it to close

std::optional<std::string> ClipboardBlock(UINT format);  // every byte (GlobalSize may round up)
std::optional<std::string> ClipboardText();              // CF_TEXT up to its zero
std::optional<std::wstring> ClipboardUnicodeText();      // CF_UNICODETEXT up to its zero
bool SetClipboardText(std::string_view cp932);
// Keeps the clipboard open from a thread of its own until destroyed.
class ClipboardHolder {
public:
    ClipboardHolder();
    ~ClipboardHolder();
    bool Opened() const { return m_opened.get(); }

private:
    std::promise<void> m_release;
    std::shared_future<bool> m_opened;
    std::thread m_thread;
};

inline constexpr UINT kTrayIconMessage = WM_USER + 1;  // the shell posts it for icon input
bool IconPresent(HWND owner);                          // the shell holds icon 0 of `owner`
// Keeps an icon of the test's own in the notification area. Wine shows its area as a
// window when the first icon arrives, which then takes the foreground: with an icon
// there from the start, Pelo's neither opens it nor loses the foreground to it.
class NotificationAreaInUse {
public:
    NotificationAreaInUse();
    ~NotificationAreaInUse();
    NotificationAreaInUse(const NotificationAreaInUse&) = delete;
    NotificationAreaInUse& operator=(const NotificationAreaInUse&) = delete;
    bool Added() const { return m_added; }

private:
    HWND m_owner;
    bool m_added;
};

// A child process; terminated on destruction if it still runs.
class Process {
public:
    Process() = default;
    Process(Process&&) = default;
    Process& operator=(Process&&) = default;
    ~Process() { Kill(); }
    static Process Start(const std::filesystem::path& exe, const std::wstring& arguments,
                         const std::filesystem::path& folder);
    DWORD Id() const noexcept { return m_id; }
    HANDLE Handle() const noexcept { return m_process.get(); }
    bool IsRunning() const;
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout);
    void Kill();

private:
    win::UniqueKernelHandle m_process;
    DWORD m_id = 0;
};

// A small CP932 dictionary: group "あ", category "あいさつ", two kaomoji.
std::string TinyDictionary();

// Pelo.exe in a fresh temporary folder (with TinyDictionary() as dic.txt unless told).
class PeloProcess {
public:
    explicit PeloProcess(bool withDictionary = true);
    const std::filesystem::path& Folder() const noexcept { return m_folder.Path(); }
    bool WriteFile(std::string_view name, std::string_view bytes) const {
        return WriteFileBytes(m_folder / name, bytes);
    }
    // Starts Pelo (a copy named `exeName` unless "Pelo.exe") and waits for its window.
    bool Start(std::wstring_view exeName = L"Pelo.exe",
               std::chrono::milliseconds timeout = kDefaultTimeout);
    bool Launch(std::wstring_view exeName = L"Pelo.exe");  // without waiting
    void SetArguments(std::wstring arguments) { m_arguments = std::move(arguments); }
    HWND WaitForMainWindow(std::chrono::milliseconds timeout = kDefaultTimeout);
    Process StartAnother() const;  // a second instance in the same folder
    Process& Proc() noexcept { return m_process; }
    DWORD Id() const noexcept { return m_process.Id(); }
    bool IsRunning() const { return m_process.IsRunning(); }
    std::optional<DWORD> WaitForExit() { return m_process.WaitForExit(); }
    HWND MainWindow() const noexcept { return m_mainWindow; }
    HWND Control(int id) const { return ::GetDlgItem(m_mainWindow, id); }
    bool Activate() const { return BringToForeground(m_mainWindow); }

private:
    TempFolder m_folder;
    std::optional<TempFolder> m_copyFolder;
    std::wstring m_arguments;  // Pelo's command line after its name
    Process m_process;         // destroyed (killed) before the folders go
    HWND m_mainWindow = nullptr;
};

// TargetApp.exe: a window titled `title` whose client is one multi-line edit, in a
// process of its own, at `position` (320 x 200, clear of Pelo's centred dialog).
class TargetApp {
public:
    explicit TargetApp(std::wstring_view title, POINT position = {0, 0});
    ~TargetApp() { Close(); }
    HWND Window() const noexcept { return m_window; }  // null if it did not start
    bool Activate() const;                             // foreground, focus in the edit
    std::string Text() const { return WindowText(m_edit); }
    std::wstring WideText() const { return WindowTextW(m_edit); }
    void SetText(std::string_view cp932) const { SetEditText(m_edit, cp932); }
    bool Close();

private:
    Process m_process;
    HWND m_window = nullptr;
    HWND m_edit = nullptr;
};

inline constexpr int kFavoritesTab = 1;
// Walks the tree of Pelo's window by keyboard until the kaomoji list shows entries.
bool ShowFirstCategory(HWND pelo);

}  // namespace testsupport
