// The real main dialog in this process: it runs modally on a thread of its own
// in a temporary current folder, and the test drives it from its own thread with
// messages by control id (a cross-thread send returns once handled) and reads
// its tree, lists, menus and files directly. Message texts come from the
// resources linked in (the same script as Pelo.exe's).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"
#include "ui/GlobalHotkey.h"
#include "ui/MainDialog.h"
#include "ui/Tray.h"
#include "win/Application.h"
#include "win/Dialog.h"

namespace maindialogtest {

using namespace testsupport;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

class TestApplication : public win::Application {};
inline TestApplication theApp;

inline std::string Lines(const Strings& entries) {
    std::string bytes;
    for (const std::string& entry : entries) {
        bytes += entry + "\r\n";
    }
    return bytes;
}

// The main dialog's modal run on a thread of its own, in a fresh current folder.
class Pelo {
public:
    explicit Pelo(std::map<std::string, std::string> files = {{"dic.txt", TinyDictionary()}}) {
        for (const auto& [name, bytes] : files) {
            WriteFileBytes(m_folder / name, bytes);
        }
    }
    ~Pelo() {
        if (m_thread.joinable()) {
            if (::IsWindow(m_window)) {
                ::PostMessageW(m_window, WM_COMMAND, IDCANCEL, 0);
            }
            Finish(m_run);
            m_thread.join();
        }
        ::SetCurrentDirectoryW(ExecutableFolder().c_str());
    }

    // Starts the dialog and waits for its window, answering message boxes meanwhile
    // (StartMessages); null when the run ended without a window.
    HWND Start() {
        ::SetCurrentDirectoryW(m_folder.Path().c_str());
        std::promise<void> ended;
        m_run = ended.get_future().share();
        m_thread = std::thread([this, ended = std::move(ended)]() mutable {
            MainDialog dialog;
            theApp.SetMainWindow(&dialog);
            dialog.DoModal();
            dialog.CleanUp();
            theApp.SetMainWindow(nullptr);
            ended.set_value();
        });
        m_startMessages = AnswerUntil([&] {
            m_window = FindTopLevelWindow(::GetCurrentProcessId(), L"Pelo", L"#32770");
            return IsVisible(m_window) || Ended();
        });
        // A dialog ending in its initialisation has said why; it may show for a moment.
        if (!m_startMessages.empty()) {
            WaitUntil([&] { return Ended(); }, 3s);
        }
        return IsVisible(m_window) && !Ended() ? m_window : nullptr;
    }
    const Strings& StartMessages() const { return m_startMessages; }
    bool Ended() const { return m_run.wait_for(0s) == std::future_status::ready; }
    // Waits for the modal run to end; the message boxes it showed meanwhile.
    Strings FinishRun() const { return Finish(m_run); }

    // Sends from a thread of its own, so that a modal loop it starts does not block the test.
    static std::shared_future<void> SendLater(HWND window, UINT message, WPARAM wParam = 0,
                                              LPARAM lParam = 0) {
        return std::async(std::launch::async,
                          [=] { ::SendMessageW(window, message, wParam, lParam); })
            .share();
    }
    // Waits for `done`, answering every message box meanwhile with `answer`; their texts.
    static Strings AnswerUntil(const std::function<bool()>& done, int answer = IDOK) {
        Strings texts;
        WaitUntil([&] {
            if (HWND box = FindMessageBox(::GetCurrentProcessId())) {
                texts.push_back(MessageBoxText(box));
                AnswerMessageBox(box, answer);
            }
            return done();
        });
        return texts;
    }
    static Strings Finish(const std::shared_future<void>& sent, int answer = IDOK) {
        return AnswerUntil([&] { return sent.wait_for(0s) == std::future_status::ready; }, answer);
    }
    // A command of control `id`, as the control sends it, sent later.
    std::shared_future<void> Click(int id, int code = BN_CLICKED) const {
        return SendLater(m_window, WM_COMMAND, MAKEWPARAM(id, code),
                         reinterpret_cast<LPARAM>(Control(id)));
    }
    // `key` with `modifiers` pressed on control `id`, as the control forwards it; the
    // message boxes it showed.
    Strings Key(int id, UINT key, UINT modifiers = win::kNoModifier) const {
        return Finish(SendLater(m_window, win::kControlKeyMessage, MAKEWPARAM(key, modifiers),
                                reinterpret_cast<LPARAM>(Control(id))));
    }
    // The same command; the message boxes it showed.
    Strings Command(int id, int code = BN_CLICKED, int answer = IDOK) const {
        return Finish(Click(id, code), answer);
    }

    HWND Window() const { return m_window; }
    HWND Control(int id) const { return ::GetDlgItem(m_window, id); }
    Strings Items(int list) const { return ListItems(Control(list)); }
    int Selection(int list) const { return ListSelection(Control(list)); }
    void Select(int list, int index) const { SetListSelection(Control(list), index); }
    std::string File(std::string_view name) const { return ReadFileBytes(m_folder / name); }
    fs::path PathOf(std::string_view name) const { return m_folder / name; }
    // Every file below the folder with its bytes.
    std::map<fs::path, std::string> Snapshot() const {
        std::map<fs::path, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder.Path())) {
            files[entry.path()] = entry.is_directory() ? "<dir>" : ReadFileBytes(entry.path());
        }
        return files;
    }

    // Selects tab `index` as a click would: the tab control notifies the dialog.
    void ShowTab(int index) const { ::SendMessageW(Control(IDC_TAB), TCM_SETCURFOCUS, index, 0); }

private:
    TempFolder m_folder;
    std::shared_future<void> m_run;
    std::thread m_thread;
    HWND m_window = nullptr;
    Strings m_startMessages;
};

// A centred window's edges may be off by rounding, and a window manager may
// move a new window down by its title bar's nudge.
inline constexpr LONG kCentringSlack = 2;
inline constexpr LONG kWindowManagerNudge = 10;

// The list is wide enough to scroll to the end of its longest entry.
inline void ExpectExtentCoversLongest(HWND list) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& entry : ListItems(list)) {
        const std::wstring text = FromCp932(entry);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, size.cx);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    EXPECT_GT(::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), widest) << ListItems(list).size();
}

// ---- Kaomoji every page test can use ----------------------------------------

inline const std::string kWave = "(^_^)/";
inline const std::string kWaveLong = "(^_^)/~~";  // kWave is only its beginning
inline const std::string kCry = "(ToT)";
inline const std::string kCryOtherCase = "(tOt)";
inline const std::string kKatakanaA = ToCp932(L"(ア)");   // 83 41: trail byte 'A'
inline const std::string kKatakanaDi = ToCp932(L"(ヂ)");  // 83 61: trail byte 'a'

// NEC row 13 and its JIS twin (≒), an NEC-selected IBM extension: list boxes show
// both of the first as 81 E0 and the last as FA 5C.
inline const std::string kNec = "(\x87\x90)";
inline const std::string kJis = "(\x81\xE0)";
inline const std::string kIbm = "(\xED\x40)";
inline const Strings kAllKaomoji = {kWaveLong,   kWave, kCry, kCryOtherCase, kKatakanaA,
                                    kKatakanaDi, "c",   kNec, kJis,          kIbm};

// One category holding every kaomoji above.
inline std::map<std::string, std::string> FavoritesFolder(std::optional<std::string> favorites) {
    std::string dic;
    for (const std::string& kaomoji : kAllKaomoji) {
        dic += "ab\t" + kaomoji + "\r\n";
    }
    std::map<std::string, std::string> files{{"dic.txt", dic}};
    if (favorites) {
        files["Favorite.txt"] = *favorites;
    }
    return files;
}

// Shows the first group's first category and selects its kaomoji `index`.
inline void SelectInFirstCategory(const Pelo& pelo, int index) {
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const auto group = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                   ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, group));
    pelo.Select(IDC_KAOMOJI_LIST, index);
}

// Shows the one category and selects `kaomoji` in it (none when empty).
inline void SelectKaomoji(const Pelo& pelo, const std::string& kaomoji) {
    SelectInFirstCategory(
        pelo, static_cast<int>(std::find(kAllKaomoji.begin(), kAllKaomoji.end(), kaomoji) -
                               kAllKaomoji.begin()));
}

// In the tray: hidden, off the taskbar (a tool window), the icon there; shown: the reverse.
inline bool InTray(HWND window, bool in = true) {
    const bool tool = ::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
    return IsVisible(window) != in && tool == in && IconPresent(window) == in &&
           (in || !::IsIconic(window));
}
// Minimises until `done` (in the tray by default) holds, and still holds 300 ms on: the
// window system may still undo a minimise for a moment, as it may still move a new window.
inline bool Minimize(HWND window, std::function<bool()> done = {}) {
    if (!done) {
        done = [=] { return InTray(window); };
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        if (WaitUntil(done, 2s) && !WaitUntil([&] { return !done(); }, 300ms)) {
            return true;
        }
    }
    return false;
}
inline void PressOnIcon(HWND window, UINT mouseMessage) {
    ::PostMessageW(window, tray::kIconMessage, 0, mouseMessage);
}
// What the shell sends every top-level window when it has made a new taskbar.
inline void TaskbarCreated(HWND window) {
    ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

}  // namespace maindialogtest
