// Helpers shared by every Windows test executable (tests/win and tests/e2e).
// pelo_test_support also provides main(): it refuses to run unless the ANSI
// code page is 932, then runs all tests.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace testsupport {

using namespace std::chrono_literals;

// Default time a test waits for something to happen before it gives up.
inline constexpr std::chrono::milliseconds kDefaultTimeout = 10s;

// A fresh, empty folder under %TEMP%; deleted with everything in it on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const noexcept { return m_path; }
    // Path of `relative` (ASCII or CP932 bytes, e.g. "AA\\x.txt") inside the folder.
    std::filesystem::path operator/(std::string_view relative) const;

private:
    std::filesystem::path m_path;
};

// UTF-16 to CP932 bytes and back, whatever the process's code page.
std::string ToCp932(std::wstring_view text);
std::wstring FromCp932(std::string_view bytes);

// A file's bytes exactly (binary); empty when it cannot be read (see FileExists).
std::string ReadFileBytes(const std::filesystem::path& path);
// Writes exactly `bytes` (creating parent folders); false on failure.
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
bool FileExists(const std::filesystem::path& path);

// Dispatches every message waiting for the calling thread.
void PumpMessages();
// Polls `condition` every few milliseconds (pumping messages) until it holds or
// `timeout` ends; returns whether it held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kDefaultTimeout);

// Folder of the running test executable (Pelo.exe and TargetApp.exe lie beside it).
std::filesystem::path ExecutableFolder();

}  // namespace testsupport
