// Processes: Pelo.exe in its prepared folder, the target application, and the
// plain child-process owner both rest on.
#include <system_error>
#include <utility>

#include "E2e.h"

namespace e2e {

namespace fs = std::filesystem;
using testsupport::ExecutableFolder;

std::string TinyDictionary() {
    // Group "あ", its category "あいさつ" with "(^_^)/" and "(*^_^*)"; CR LF line ends.
    return ToCp932(L"あいさつ\t(^_^)/\r\nあいさつ\t(*^_^*)\r\n");
}

// ---- Process ------------------------------------------------------------------------------

Process::Process(Process&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)), m_id(std::exchange(other.m_id, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        if (m_process) {
            ::CloseHandle(m_process);
        }
        m_process = std::exchange(other.m_process, nullptr);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
    if (m_process) {
        ::CloseHandle(m_process);
    }
}

Process Process::Start(const fs::path& exe, const std::wstring& arguments,
                       const fs::path& currentDirectory) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Process process;
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         currentDirectory.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        process.m_process = info.hProcess;
        process.m_id = info.dwProcessId;
    }
    return process;
}

bool Process::IsRunning() const {
    return m_process && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds timeout) {
    if (!m_process ||
        ::WaitForSingleObject(m_process, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process, &code);
    return code;
}

void Process::Kill() {
    if (IsRunning()) {
        ::TerminateProcess(m_process, 0xDEAD);
        ::WaitForSingleObject(m_process, 10000);
    }
}

// ---- PeloProcess --------------------------------------------------------------------------

PeloProcess::PeloProcess(bool withDictionary) {
    if (withDictionary) {
        WriteFile("dic.txt", TinyDictionary());
    }
}

PeloProcess::~PeloProcess() {
    m_process.Kill();
}

bool PeloProcess::WriteFile(std::string_view relative, std::string_view bytes) const {
    return testsupport::WriteFileBytes(PathOf(relative), bytes);
}

std::string PeloProcess::ReadFile(std::string_view relative) const {
    return testsupport::ReadFileBytes(PathOf(relative));
}

bool PeloProcess::HasFile(std::string_view relative) const {
    return testsupport::FileExists(PathOf(relative));
}

fs::path PeloProcess::ExePath(std::wstring_view exeName) {
    const fs::path bin = ExecutableFolder();
    if (exeName == L"Pelo.exe") {
        return bin / L"Pelo.exe";
    }
    // A renamed copy, with the hook library beside it, in a folder of its own.
    m_exeCopyFolder.emplace();
    const fs::path copy = m_exeCopyFolder->Path() / exeName;
    std::error_code error;
    fs::copy_file(bin / L"Pelo.exe", copy, error);
    fs::copy_file(bin / L"PelomiUtil.dll", m_exeCopyFolder->Path() / L"PelomiUtil.dll", error);
    return copy;
}

bool PeloProcess::Launch(std::wstring_view exeName) {
    m_process.Kill();
    m_mainWindow = nullptr;
    m_process = Process::Start(ExePath(exeName), L"", Folder());
    return m_process.Started();
}

bool PeloProcess::Start(std::wstring_view exeName, std::chrono::milliseconds timeout) {
    return Launch(exeName) && WaitForMainWindow(timeout) != nullptr;
}

HWND PeloProcess::WaitForMainWindow(std::chrono::milliseconds timeout, std::wstring_view title) {
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindTopLevelWindow(m_process.Id(), title, L"#32770");
        if (found && !::IsWindowVisible(found)) {
            found = nullptr;
        }
        return found != nullptr || !m_process.IsRunning();
    }, timeout);
    if (found) {
        m_mainWindow = found;
        WaitForSteadyPlace(found);
    }
    return found;
}

Process PeloProcess::StartAnother() const {
    return Process::Start(ExecutableFolder() / L"Pelo.exe", L"", Folder());
}

bool PeloProcess::Activate() const {
    return BringToForeground(m_mainWindow);
}

// ---- TargetApp ----------------------------------------------------------------------------

TargetApp::TargetApp(std::wstring_view title, POINT position) {
    const std::wstring arguments = L"\"" + std::wstring(title) + L"\" " +
                                   std::to_wstring(position.x) + L" " +
                                   std::to_wstring(position.y);
    m_process = Process::Start(ExecutableFolder() / L"TargetApp.exe", arguments,
                               ExecutableFolder());
    if (!m_process.Started()) {
        return;
    }
    WaitUntil([&] {
        const HWND window = FindTopLevelWindow(m_process.Id(), title, L"PeloTargetApp");
        if (window && ::IsWindowVisible(window)) {
            m_window = window;
            m_edit = ::GetDlgItem(window, 1);
        }
        return m_edit != nullptr || !m_process.IsRunning();
    });
    if (!m_edit) {
        m_window = nullptr;
        return;
    }
    WaitForSteadyPlace(m_window);
}

TargetApp::~TargetApp() {
    Close();
}

bool TargetApp::Activate() const {
    return BringToForeground(m_window) &&
           WaitUntil([&] { return FocusedWindowOf(m_window) == m_edit; }, 5s);
}

std::string TargetApp::Text() const {
    return WindowText(m_edit);
}

void TargetApp::SetText(std::string_view cp932) const {
    SetEditText(m_edit, cp932);
}

bool TargetApp::Close() {
    if (!m_process.IsRunning()) {
        return true;
    }
    if (m_window) {
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
    }
    const bool ended = m_process.WaitForExit(5s).has_value();
    m_process.Kill();
    m_window = m_edit = nullptr;
    return ended;
}

}  // namespace e2e
