#include "TestSupport.h"

#include <atomic>
#include <fstream>
#include <system_error>
#include <thread>

namespace testsupport {

namespace fs = std::filesystem;

namespace {

fs::path UniqueTempPath() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
    const fs::path root = length ? fs::path(base) : fs::current_path();
    for (;;) {
        const fs::path candidate =
            root / (L"pelo-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(counter++));
        std::error_code error;
        if (fs::create_directories(candidate, error)) {
            return candidate;
        }
    }
}

}  // namespace

TempFolder::TempFolder() : m_path(UniqueTempPath()) {}

TempFolder::~TempFolder() {
    // A process that just ended may still hold a file for a moment.
    std::error_code error;
    WaitUntil([&] {
        fs::remove_all(m_path, error);
        return !error;
    }, 2s);
}

fs::path TempFolder::operator/(std::string_view relative) const {
    return m_path / FromCp932(relative);
}

std::string ToCp932(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(932, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(length, '\0');
    ::WideCharToMultiByte(932, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring FromCp932(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(932, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(length, L'\0');
    ::MultiByteToWideChar(932, 0, bytes.data(), size, text.data(), length);
    return text;
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool WriteFileBytes(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), error);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

bool FileExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
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
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        PumpMessages();
        std::this_thread::sleep_for(10ms);
    }
}

fs::path ExecutableFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace testsupport
