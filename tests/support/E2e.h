// End-to-end driver: starts the real Pelo.exe in a prepared folder and works
// it from this (separate) process the way a user would. Cross-process facts
// this relies on (Wine 8 and Windows alike): list-box and WM_GETTEXT messages
// are read in their W form and converted to CP932; tab and tree messages with
// pointers are not marshalled, so tabs are driven by real input; every wait is
// a WaitUntil with a timeout.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace e2e {

using namespace std::chrono_literals;
using testsupport::kDefaultTimeout;
using testsupport::ToCp932;
using testsupport::WaitUntil;

// A small CP932 dictionary (one group, one category, two kaomoji), enough for Pelo to start.
std::string TinyDictionary();

// ---- Processes ----------------------------------------------------------------------------

// A child process we started; terminated on destruction if it still runs.
class Process {
public:
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    // Starts `exe` with `arguments` (already quoted as needed) in `currentDirectory`.
    static Process Start(const std::filesystem::path& exe, const std::wstring& arguments,
                         const std::filesystem::path& currentDirectory);

    bool Started() const noexcept { return m_process != nullptr; }
    DWORD Id() const noexcept { return m_id; }
    HANDLE Handle() const noexcept { return m_process; }
    bool IsRunning() const;
    // Waits for the end; its exit code, or nothing on timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout);
    // Terminates the process (if running) and waits for it.
    void Kill();

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Pelo.exe in a fresh temporary working folder. Typical use:
//   PeloProcess pelo;                       // folder with TinyDictionary() as dic.txt
//   pelo.WriteFile("Favorite.txt", "...");  // more files if needed
//   ASSERT_TRUE(pelo.Start());              // starts and waits for the visible window "Pelo"
class PeloProcess {
public:
    // Prepares the folder; writes TinyDictionary() as dic.txt unless `withDictionary` is false.
    explicit PeloProcess(bool withDictionary = true);
    ~PeloProcess();  // kills Pelo if still running, then deletes the folder

    const std::filesystem::path& Folder() const noexcept { return m_folder.Path(); }
    // Path of a file in the folder; `relative` is ASCII/CP932 bytes ("AA\\x.txt").
    std::filesystem::path PathOf(std::string_view relative) const { return m_folder / relative; }
    // Writes exactly `bytes` to `relative` (parent folders created).
    bool WriteFile(std::string_view relative, std::string_view bytes) const;
    // The file's bytes exactly ("" when missing; see HasFile).
    std::string ReadFile(std::string_view relative) const;
    bool HasFile(std::string_view relative) const;

    // Starts Pelo (copied as `exeName` into a folder of its own when it is not "Pelo.exe")
    // and waits for its visible main window; false if it did not appear in time.
    bool Start(std::wstring_view exeName = L"Pelo.exe",
               std::chrono::milliseconds timeout = kDefaultTimeout);
    // Starts Pelo without waiting for any window (for starts that must fail or exit).
    bool Launch(std::wstring_view exeName = L"Pelo.exe");
    // Waits for the visible top-level window titled `title` of this process, and for it to
    // keep its place (WaitForSteadyPlace); null on timeout.
    HWND WaitForMainWindow(std::chrono::milliseconds timeout = kDefaultTimeout,
                           std::wstring_view title = L"Pelo");
    // Starts one more Pelo.exe in the same folder (a second instance).
    Process StartAnother() const;

    Process& Proc() noexcept { return m_process; }
    DWORD Id() const noexcept { return m_process.Id(); }
    bool IsRunning() const { return m_process.IsRunning(); }
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout) {
        return m_process.WaitForExit(timeout);
    }

    HWND MainWindow() const noexcept { return m_mainWindow; }
    // The main dialog's control `id` (null if it has none).
    HWND Control(int id) const { return ::GetDlgItem(m_mainWindow, id); }
    // Makes Pelo's main window the foreground window (see BringToForeground).
    bool Activate() const;

private:
    std::filesystem::path ExePath(std::wstring_view exeName);

    testsupport::TempFolder m_folder;
    std::optional<testsupport::TempFolder> m_exeCopyFolder;
    Process m_process;
    HWND m_mainWindow = nullptr;
};

// ---- Windows ------------------------------------------------------------------------------

// Top-level windows of process `pid` (visible or not), in Z order.
std::vector<HWND> TopLevelWindows(DWORD pid);
// The first top-level window of `pid` with that title (and class, when given); null if none.
HWND FindTopLevelWindow(DWORD pid, std::wstring_view title, std::wstring_view className = {});
DWORD ProcessIdOf(HWND window);
// A window's text (WM_GETTEXT, W form), and as CP932 bytes.
std::wstring WindowTextW(HWND window);
std::string WindowText(HWND window);
std::wstring ClassNameOf(HWND window);
bool IsVisible(HWND window);
RECT ScreenRect(HWND window);
// Centre of a window's client area in screen coordinates.
POINT ClientCentre(HWND window);
// Work area of the monitor that holds `window`.
RECT WorkAreaOf(HWND window);
// The window that has the keyboard focus in `window`'s thread (GetGUIThreadInfo).
HWND FocusedWindowOf(HWND window);
// Waits until `window` has kept its place for 200 ms: a window manager may still move a
// window just after it appeared (seen: 8 px down), and a click aimed before that misses.
bool WaitForSteadyPlace(HWND window, std::chrono::milliseconds timeout = 3s);
// Brings `window` (top level) to the foreground, confirmed by GetForegroundWindow.
bool BringToForeground(HWND window, std::chrono::milliseconds timeout = 5s);

// ---- Real input (SendInput: goes to the foreground window / the window under the cursor) --

void Click(POINT screen);
void DoubleClick(POINT screen);
// Clicks the centre of a control or window.
void ClickWindow(HWND window);
// Presses and releases `vk`, holding the given modifier keys (e.g. {VK_CONTROL}) meanwhile.
void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});
// PressKey to `window`'s top-level window after making it the foreground window.
bool PressKeyIn(HWND window, WORD vk, std::initializer_list<WORD> modifiers = {});

// ---- Controls -----------------------------------------------------------------------------

// Sets an edit's text (WM_SETTEXT, W form) from CP932 bytes.
void SetEditText(HWND edit, std::string_view cp932);
// Clicks a button with BM_CLICK, posted: returns at once, also when the click opens a
// modal message box. Its BN_CLICKED arrives shortly after: wait for its effect.
void PostButtonClick(HWND button);

// List boxes, read across processes (W form, converted to CP932).
int ListCount(HWND list);
std::string ListText(HWND list, int index);
std::vector<std::string> ListItems(HWND list);
int ListSelection(HWND list);  // LB_ERR (-1) when nothing is selected
// Selects without notification (LB_SETCURSEL), as a program would.
void SetListSelection(HWND list, int index);
// An item's rectangle in screen coordinates (LB_GETITEMRECT, else computed from item height
// and top index); false if the item is not in view.
bool ListItemScreenRect(HWND list, int index, RECT& rect);
// Real clicks on an item (the list box notifies its owner itself: LBN_SELCHANGE, LBN_DBLCLK).
bool ClickListItem(HWND list, int index);
bool DoubleClickListItem(HWND list, int index);

// Tabs: the count and selection need no pointers, so they work across processes.
int TabCount(HWND tab);
int TabSelection(HWND tab);
// Selects tab `index` as a user would (a click on the first tab, then Right arrows), so that
// the tab control itself sends TCN_SELCHANGE. Waits until the selection is `index`.
// Note: it moves the keyboard focus to the tab control.
bool SelectTab(HWND tab, int index);

// ---- Message boxes ------------------------------------------------------------------------

// A message box of process `pid`: a visible top-level dialog (#32770) other than `except...`.
HWND FindMessageBox(DWORD pid, std::initializer_list<HWND> except = {});
HWND WaitForMessageBox(DWORD pid, std::initializer_list<HWND> except = {},
                       std::chrono::milliseconds timeout = kDefaultTimeout);
// The box's text (its static 0xFFFF) and caption, as CP932 bytes.
std::string MessageBoxText(HWND box);
std::string MessageBoxCaption(HWND box);
// Presses the box's button `id` (IDOK, IDYES, IDNO...) and waits for the box to close.
bool AnswerMessageBox(HWND box, int id, std::chrono::milliseconds timeout = kDefaultTimeout);

// ---- Clipboard ----------------------------------------------------------------------------

// The whole CF_TEXT block up to (not including) its first zero byte; nothing if absent.
std::optional<std::string> ClipboardText();
// CF_UNICODETEXT up to its terminating zero; nothing if absent.
std::optional<std::wstring> ClipboardUnicodeText();
// Every byte of a clipboard format's memory block (GlobalSize may round up).
std::optional<std::string> ClipboardBlock(UINT format);
// Empties the clipboard and puts `cp932` as CF_TEXT on it; false if it could not.
bool SetClipboardText(std::string_view cp932);
bool EmptyClipboardNow();

// Keeps the clipboard open from a helper thread for `duration` (or until destruction),
// so that nobody else can open it meanwhile. Opened() once it holds it.
class ClipboardHolder {
public:
    explicit ClipboardHolder(std::chrono::milliseconds duration);
    ~ClipboardHolder();  // releases it now and joins the thread
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    bool Opened() const;  // true once the helper thread holds the clipboard

private:
    struct State;
    std::unique_ptr<State> m_state;
    std::thread m_thread;
};

// ---- Target application (tests/support/TargetApp.cpp) --------------------------------------

// TargetApp.exe: a top-level window titled `title` whose client is one multi-line edit,
// in a process of its own; the place a paste should arrive.
class TargetApp {
public:
    // Starts it and waits for its window (and its steady place); Window() is null if that
    // failed. The window is
    // placed at `position` (screen), size 320 x 200, clear of Pelo's centred dialog.
    explicit TargetApp(std::wstring_view title, POINT position = {0, 0});
    ~TargetApp();  // closes it (terminates if needed)

    HWND Window() const noexcept { return m_window; }
    HWND Edit() const noexcept { return m_edit; }
    DWORD Id() const noexcept { return m_process.Id(); }
    // Makes it the foreground window with the focus in its edit.
    bool Activate() const;
    // The edit's text as CP932 bytes (WM_GETTEXT W form, converted).
    std::string Text() const;
    void SetText(std::string_view cp932) const;
    // Closes its window and waits for the process to end.
    bool Close();

private:
    Process m_process;
    HWND m_window = nullptr;
    HWND m_edit = nullptr;
};

// ---- Pelo's pages (tests/support/E2ePages.cpp) ---------------------------------------------

// Positions of Pelo's pages among its tabs.
inline constexpr int kDictionaryTab = 0;
inline constexpr int kFavoritesTab = 1;
inline constexpr int kAATab = 2;

// Brings Pelo to the foreground and selects tab `index`. A click on a window
// that has just come up is now and then lost under Wine: tries a few times.
bool ShowPage(const PeloProcess& pelo, int index);

// Opens the dictionary's first category with the arrow keys (the tree has the
// focus at start) until the kaomoji list shows entries; false if it does not.
bool ShowFirstCategory(const PeloProcess& pelo);

}  // namespace e2e
