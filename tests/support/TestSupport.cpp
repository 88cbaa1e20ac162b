#include "TestSupport.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <map>
#include <system_error>
#include <thread>
#include <utility>

#include "app/resource.h"

namespace testsupport {

namespace fs = std::filesystem;

namespace {

// Sent messages time out instead of hanging a test on a stuck window.
LRESULT SendW(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)
               ? static_cast<LRESULT>(result)
               : -1;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[257] = {};  // a class name has at most 256 characters
    return std::wstring(name, ::GetClassNameW(window, name, 257));
}

// Message boxes name their text 0xFFFF, which some systems keep as -1.
HWND MessageTextOf(HWND box) {
    std::vector<HWND> children;
    ::EnumChildWindows(box, &CollectWindow, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (LOWORD(::GetDlgCtrlID(child)) == 0xFFFF) {
            return child;
        }
    }
    return nullptr;
}

INPUT MouseInput(DWORD flags) {
    INPUT input{INPUT_MOUSE, {}};
    input.mi.dwFlags = flags;
    return input;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT input{INPUT_KEYBOARD, {}};
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    const bool extended = (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

void Send(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Waits until `window` kept its place for 200 ms: a window manager may still move a new
// window (seen: 8 px down), and a click aimed before that misses.
void WaitForSteadyPlace(HWND window) {
    RECT last = ScreenRect(window);
    auto since = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            const RECT now = ScreenRect(window);
            if (!::EqualRect(&now, &last)) {
                last = now;
                since = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - since >= 200ms;
        },
        3s);
}

bool OpenClipboardSoon(HWND owner = nullptr) {
    return WaitUntil([&] { return ::OpenClipboard(owner) != FALSE; }, 3s);  // Pelo may hold it
}

NOTIFYICONDATAW IconRecord(HWND owner) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = owner;
    return record;
}

}  // namespace

namespace {

std::string ToCodePage(UINT codePage, std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    std::string bytes(
        ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
    const int size = static_cast<int>(bytes.size());
    std::wstring text(::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(),
                          static_cast<int>(text.size()));
    return text;
}

}  // namespace

std::string ToCp932(std::wstring_view text) {
    return ToCodePage(932, text);
}

std::wstring FromCp932(std::string_view bytes) {
    return FromCodePage(932, bytes);
}

std::string ToUtf8(std::wstring_view text) {
    return ToCodePage(CP_UTF8, text);
}

std::string ResourceText(UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(nullptr, id, reinterpret_cast<LPWSTR>(&text), 0);
    return ToCp932(std::wstring_view(text, length > 0 ? length : 0));
}

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::error_code error;
    do {
        m_path = fs::temp_directory_path() /
                 (L"pelo-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(counter++));
    } while (!fs::create_directories(m_path, error));
}

TempFolder::~TempFolder() {
    // A process that just ended may hold a file for a moment longer.
    std::error_code error;
    WaitUntil([&] { return fs::remove_all(m_path, error), !error; }, 2s);
}

fs::path TempFolder::operator/(std::string_view cp932) const {
    return m_path / FromCp932(cp932);
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool WriteFileBytes(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

bool FileExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

fs::path ExecutableFolder() {
    wchar_t path[32768] = {};
    ::GetModuleFileNameW(nullptr, path, 32768);
    return fs::path(path).parent_path();
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        PumpMessages();
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    std::vector<HWND> windows;  // then those of others dropped
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::erase_if(windows, [&](HWND window) { return ProcessIdOf(window) != pid; });
    return windows;
}

HWND FindTopLevelWindow(DWORD pid, std::wstring_view title, std::wstring_view className) {
    for (HWND window : TopLevelWindows(pid)) {
        if (WindowTextW(window) == title &&
            (className.empty() || ClassNameOf(window) == className)) {
            return window;
        }
    }
    return nullptr;
}

DWORD ProcessIdOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring WindowTextW(HWND window) {
    std::wstring text(std::max<LRESULT>(0, SendW(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(std::max<LRESULT>(
        0, SendW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::string WindowText(HWND window) {
    return ToCp932(WindowTextW(window));
}

bool IsVisible(HWND window) {
    return window && ::IsWindowVisible(window);
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

HWND FocusedWindowOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                                  : nullptr;
}

bool BringToForeground(HWND window) {
    const auto isForeground = [&] { return ::GetForegroundWindow() == window; };
    for (int attempt = 0; attempt < 3 && ::IsWindow(window) && !isForeground(); ++attempt) {
        if (attempt > 0) {
            // A null mouse move makes this process the last to send input, which a
            // foreground lock asks of whoever changes the foreground.
            Send({MouseInput(MOUSEEVENTF_MOVE)});
            ::BringWindowToTop(window);
        }
        ::SetForegroundWindow(window);
        WaitUntil(isForeground, 2s);
    }
    return isForeground();
}

bool Settle(HWND window) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) {
        inputs.push_back(KeyInput(modifier, false));
    }
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    for (WORD modifier : modifiers) {
        inputs.push_back(KeyInput(modifier, true));
    }
    Send(inputs);
}

void TypeText(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t unit : text) {
        for (const bool up : {false, true}) {
            INPUT input{INPUT_KEYBOARD, {}};
            input.ki.wScan = unit;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    Send(inputs);
}

bool PressKeyIn(HWND window, WORD vk) {
    return BringToForeground(::GetAncestor(window, GA_ROOT)) && (PressKey(vk), true);
}

void SetEditText(HWND edit, std::string_view cp932) {
    const std::wstring text = FromCp932(cp932);
    SendW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ListCount(HWND list) {
    return static_cast<int>(SendW(list, LB_GETCOUNT));
}

std::vector<std::wstring> WideListItems(HWND list) {
    std::vector<std::wstring> items;
    for (int i = 0, count = ListCount(list); i < count; ++i) {
        std::wstring text(std::max<LRESULT>(0, SendW(list, LB_GETTEXTLEN, i)) + 1, L'\0');
        text.resize(std::max<LRESULT>(
            0, SendW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(std::move(text));
    }
    return items;
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    for (const std::wstring& text : WideListItems(list)) {
        items.push_back(ToCp932(text));
    }
    return items;
}

int ListSelection(HWND list) {
    return static_cast<int>(SendW(list, LB_GETCURSEL));
}

void SetListSelection(HWND list, int index) {
    SendW(list, LB_SETCURSEL, static_cast<WPARAM>(index));
}

bool ListItemScreenRect(HWND list, int index, RECT& rect) {
    // Fixed-height rows, computed: LB_GETITEMRECT's pointer does not cross processes.
    RECT client{};
    ::GetClientRect(list, &client);
    const LONG height = static_cast<LONG>(SendW(list, LB_GETITEMHEIGHT));
    const LONG row = index - static_cast<LONG>(SendW(list, LB_GETTOPINDEX));
    rect = RECT{client.left, row * height, client.right, (row + 1) * height};
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return row >= 0 && (row + 1) * height <= client.bottom;
}

bool DoubleClickListItem(HWND list, int index) {
    RECT item{};
    if (!ListItemScreenRect(list, index, item)) {
        SendW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index));
        if (!ListItemScreenRect(list, index, item)) {
            return false;
        }
    }
    ::SetCursorPos((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    const INPUT down = MouseInput(MOUSEEVENTF_LEFTDOWN), up = MouseInput(MOUSEEVENTF_LEFTUP);
    Send({down, up, down, up});
    return WaitUntil([&] { return ListSelection(list) == index; }, 3s);
}

bool SelectTab(HWND tab, int index) {
    const HWND root = ::GetAncestor(tab, GA_ROOT);
    SendW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tab), TRUE);
    if (!BringToForeground(root) || !WaitUntil([&] { return FocusedWindowOf(tab) == tab; }, 3s)) {
        return false;
    }
    for (int current = static_cast<int>(SendW(tab, TCM_GETCURSEL)); current != index;) {
        PressKey(current < index ? VK_RIGHT : VK_LEFT);
        current += current < index ? 1 : -1;
        if (!WaitUntil([&] { return SendW(tab, TCM_GETCURSEL) == current; }, 3s)) {
            return false;
        }
    }
    return true;
}

HWND FindMessageBox(DWORD pid) {
    for (HWND window : TopLevelWindows(pid)) {
        if (IsVisible(window) && ClassNameOf(window) == L"#32770" && MessageTextOf(window)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForMessageBox(DWORD pid) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(pid)); });
    return box;
}

std::string MessageBoxText(HWND box) {
    return WindowText(MessageTextOf(box));
}

bool AnswerMessageBox(HWND box, int id) {
    const HWND button = ::GetDlgItem(box, id);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return button && WaitUntil([&] { return !IsVisible(box); });
}

std::optional<std::string> ClipboardBlock(UINT format) {
    // A test polls the clipboard while Pelo tries to open it, a few times
    // only: opened only when it has changed since the last read, it is never
    // held from Pelo by a test that merely waits, however slow the machine.
    static std::map<UINT, std::pair<DWORD, std::optional<std::string>>> lastRead;
    const DWORD sequence = ::GetClipboardSequenceNumber();
    if (const auto last = lastRead.find(format);
        sequence != 0 && last != lastRead.end() && last->second.first == sequence) {
        return last->second.second;
    }
    if (!OpenClipboardSoon()) {
        return std::nullopt;
    }
    std::optional<std::string> block;
    const HANDLE data = ::GetClipboardData(format);
    if (const auto* bytes = data ? static_cast<const char*>(::GlobalLock(data)) : nullptr) {
        block.emplace(bytes, ::GlobalSize(data));
        ::GlobalUnlock(data);
    }
    // Read while open: no change can have come in between.
    lastRead[format] = {::GetClipboardSequenceNumber(), block};
    ::CloseClipboard();
    return block;
}

std::optional<std::string> ClipboardText() {
    std::optional<std::string> block = ClipboardBlock(CF_TEXT);
    return block ? std::optional(std::string(block->c_str())) : block;
}

std::optional<std::wstring> ClipboardUnicodeText() {
    const std::optional<std::string> block = ClipboardBlock(CF_UNICODETEXT);
    if (!block) {
        return std::nullopt;
    }
    std::wstring text(block->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), block->data(), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

bool SetClipboardText(std::string_view cp932) {
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, cp932.size() + 1);
    std::memcpy(::GlobalLock(memory), cp932.data(), cp932.size());
    ::GlobalUnlock(memory);
    const bool placed =
        OpenClipboardSoon() && ::EmptyClipboard() && ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
    if (!placed) {
        ::GlobalFree(memory);
    }
    return placed;
}

ClipboardHolder::ClipboardHolder() {
    // Opened for a window of its own: one opened for no window lets in every other
    // caller that passes none (Wine).
    std::promise<bool> opened;
    m_opened = opened.get_future();
    m_thread = std::thread([this, opened = std::move(opened)]() mutable {
        const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                             nullptr, nullptr, nullptr);
        const bool held = OpenClipboardSoon(owner);
        opened.set_value(held);
        m_release.get_future().wait();
        if (held) {
            ::CloseClipboard();
        }
        ::DestroyWindow(owner);
    });
    m_opened.wait();
}

ClipboardHolder::~ClipboardHolder() {
    m_release.set_value();
    m_thread.join();
}

bool IconPresent(HWND owner) {
    NOTIFYICONDATAW record = IconRecord(owner);
    return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;  // only an icon there can change
}

NotificationAreaInUse::NotificationAreaInUse()
    : m_owner(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr)) {
    NOTIFYICONDATAW record = IconRecord(m_owner);
    record.uFlags = NIF_ICON;
    record.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    m_added = ::Shell_NotifyIconW(NIM_ADD, &record) != FALSE;
    if (HWND area = ::FindWindowW(L"__winex11_standalone_tray", nullptr)) {
        WaitUntil([&] { return ::GetForegroundWindow() == area; }, 2s);  // let it settle first
    }
}

NotificationAreaInUse::~NotificationAreaInUse() {
    NOTIFYICONDATAW record = IconRecord(m_owner);
    ::Shell_NotifyIconW(NIM_DELETE, &record);
    ::DestroyWindow(m_owner);
}

Process Process::Start(const fs::path& exe, const std::wstring& arguments, const fs::path& folder) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Process process;
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        process.m_process.reset(info.hProcess);
        process.m_id = info.dwProcessId;
    }
    return process;
}

bool Process::IsRunning() const {
    return m_process && ::WaitForSingleObject(Handle(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds timeout) {
    DWORD code = 0;
    const bool ended =
        m_process && ::WaitForSingleObject(Handle(), static_cast<DWORD>(timeout.count())) == 0;
    return ended && ::GetExitCodeProcess(Handle(), &code) ? std::optional(code) : std::nullopt;
}

void Process::Kill() {
    if (IsRunning()) {
        ::TerminateProcess(Handle(), 0xDEAD);
        ::WaitForSingleObject(Handle(), 10000);
    }
}

std::string TinyDictionary() {
    return ToCp932(L"あいさつ\t(^_^)/\r\nあいさつ\t(*^_^*)\r\n");
}

PeloProcess::PeloProcess(bool withDictionary) {
    if (withDictionary) {
        WriteFile("dic.txt", TinyDictionary());
    }
}

bool PeloProcess::Launch(std::wstring_view exeName) {
    fs::path exe = ExecutableFolder() / L"Pelo.exe";
    if (exeName != L"Pelo.exe") {
        // A renamed copy, with the hook library beside it, in a folder of its own.
        m_copyFolder.emplace();
        std::error_code error;
        fs::copy_file(exe, m_copyFolder->Path() / exeName, error);
        fs::copy_file(ExecutableFolder() / L"PelomiUtil.dll",
                      m_copyFolder->Path() / L"PelomiUtil.dll", error);
        exe = m_copyFolder->Path() / exeName;
    }
    m_process = Process::Start(exe, m_arguments, Folder());
    m_mainWindow = nullptr;
    return m_process.IsRunning();
}

bool PeloProcess::Start(std::wstring_view exeName, std::chrono::milliseconds timeout) {
    return Launch(exeName) && WaitForMainWindow(timeout) != nullptr;
}

HWND PeloProcess::WaitForMainWindow(std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopLevelWindow(m_process.Id(), L"Pelo", L"#32770");
            return IsVisible(found) || !m_process.IsRunning();
        },
        timeout);
    if (!IsVisible(found)) {
        return nullptr;
    }
    WaitForSteadyPlace(found);
    return m_mainWindow = found;
}

Process PeloProcess::StartAnother() const {
    return Process::Start(ExecutableFolder() / L"Pelo.exe", L"", Folder());
}

TargetApp::TargetApp(std::wstring_view title, POINT position) {
    m_process = Process::Start(ExecutableFolder() / L"TargetApp.exe",
                               L"\"" + std::wstring(title) + L"\" " + std::to_wstring(position.x) +
                                   L" " + std::to_wstring(position.y),
                               ExecutableFolder());
    WaitUntil([&] {
        m_window = FindTopLevelWindow(m_process.Id(), title, L"PeloTargetApp");
        m_edit = IsVisible(m_window) ? ::GetDlgItem(m_window, 1) : nullptr;
        return m_edit != nullptr || !m_process.IsRunning();
    });
    m_window = m_edit ? m_window : nullptr;
    WaitForSteadyPlace(m_window);
    // A window shown with SW_SHOWNORMAL becomes the foreground window, by its
    // own process and by the window manager, in its own time: under load,
    // after a test has already turned to another window, which would then
    // lose the foreground to it. So the new window is let come forward first.
    ::WaitForInputIdle(m_process.Handle(), 10000);
    WaitUntil([&] { return ::GetForegroundWindow() == m_window; }, 3s);
}

bool TargetApp::Activate() const {
    return BringToForeground(m_window) &&
           WaitUntil([&] { return FocusedWindowOf(m_window) == m_edit; }, 5s);
}

bool TargetApp::Close() {
    ::PostMessageW(m_window, WM_CLOSE, 0, 0);
    const bool ended = m_process.WaitForExit(5s).has_value();
    m_process.Kill();
    m_window = m_edit = nullptr;
    return ended;
}

bool ShowFirstCategory(HWND pelo) {
    // The first group is selected when the tree has the focus: Right opens it and Down
    // moves on to its first category (a few rounds cover other layouts).
    const HWND list = ::GetDlgItem(pelo, IDC_KAOMOJI_LIST);
    for (int round = 0; round < 10 && ListCount(list) <= 0; ++round) {
        PressKeyIn(pelo, round % 2 ? VK_DOWN : VK_RIGHT);
        WaitUntil([&] { return ListCount(list) > 0; }, 500ms);
    }
    return ListCount(list) > 0;
}

}  // namespace testsupport
