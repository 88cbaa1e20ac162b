// How fast the dictionary page answers typing: from a key press in the
// search field to list 1003 filled with what matches, on a large dic.txt,
// beside a key press with nothing to search (a space alone: the key's own
// way through the system and the field, the floor under every figure), and
// the first opening of the field, which builds the search index.
//
// The real main dialog runs in this process, in the foreground, and keys go
// in with SendInput. A key counts as answered when the dialog's thread gives
// back the field's new text to a message sent across threads: the thread
// takes that message only once the key's handling, the filled list included,
// is over.
// Usage (under Wine, see scripts/bench.sh):
//   search_typing_bench.exe [--runs N] [dic.txt]
// Without a file, a 100,000-line dictionary of 300 categories is made.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "BenchFigures.h"
#include "TestSupport.h"
#include "app/resource.h"
#include "ui/MainDialog.h"
#include "win/Application.h"

namespace {

using namespace std::chrono_literals;
using bench::Clock;
using bench::Median;
using bench::Milliseconds;

class BenchApplication : public win::Application {
} theApp;

std::string BuiltInDictionary() {
    const wchar_t* faces[] = {L"(´・ω・｀)", L"(ﾟДﾟ)ｼｮﾎﾞｰﾝ", L"ヽ(・∀・)ﾉ", L"(*´ω｀*)", L"(^_^)/"};
    std::string bytes;
    for (int line = 0; line < 100000; ++line) {
        bytes += testsupport::ToCp932(L"かお" + std::to_wstring(line / 334) + L"\t" +
                                      faces[line % 5] + std::to_wstring(line)) +
                 "\r\n";
    }
    return bytes;
}

std::wstring FieldText(HWND field) {
    wchar_t text[256] = {};
    ::SendMessageW(field, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// Milliseconds from the key to the field showing `after`, all handling done.
double TimeKey(HWND field, const std::function<void()>& press, const std::wstring& after) {
    const Clock::time_point start = Clock::now();
    press();
    while (FieldText(field) != after) {
        if (Clock::now() - start > 10s) {
            std::fprintf(stderr, "the field did not show the key\n");
            std::exit(1);
        }
    }
    return Milliseconds(Clock::now() - start);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else {
            path = argv[i];
        }
    }
    const std::string bytes = path.empty() ? BuiltInDictionary() : testsupport::ReadFileBytes(path);
    testsupport::TempFolder folder;
    testsupport::WriteFileBytes(folder / "dic.txt", bytes);
    ::SetCurrentDirectoryW(folder.Path().c_str());

    std::promise<void> ended;
    const std::shared_future<void> run = ended.get_future().share();
    std::thread dialogThread([ended = std::move(ended)]() mutable {
        MainDialog dialog;
        theApp.SetMainWindow(&dialog);
        dialog.DoModal();
        dialog.CleanUp();
        theApp.SetMainWindow(nullptr);
        ended.set_value();
    });
    HWND window = nullptr;
    testsupport::WaitUntil([&] {
        window = testsupport::FindTopLevelWindow(::GetCurrentProcessId(), L"Pelo", L"#32770");
        return testsupport::IsVisible(window);
    }, 60s);
    if (!testsupport::BringToForeground(window)) {
        std::fprintf(stderr, "Pelo did not come to the foreground\n");
        return 1;
    }
    const HWND list = ::GetDlgItem(window, IDC_KAOMOJI_LIST);

    const Clock::time_point openStart = Clock::now();
    testsupport::PressKey('F', {VK_CONTROL});
    HWND field = nullptr;
    testsupport::WaitUntil([&] {
        field = ::GetDlgItem(window, IDC_KAOMOJI_SEARCH);
        return field != nullptr && testsupport::FocusedWindowOf(window) == field;
    }, 60s);
    const double open = Milliseconds(Clock::now() - openStart);

    // Each key narrows or widens the search: every one fills the list anew.
    const std::wstring word = L"ｼｮﾎﾞｰﾝ";
    std::vector<double> searching;
    std::vector<double> found;
    std::vector<double> floor;
    for (int r = 0; r < runs; ++r) {
        for (std::size_t i = 1; i <= word.size(); ++i) {
            searching.push_back(TimeKey(field, [&] { testsupport::TypeText(word.substr(i - 1, 1)); },
                                        word.substr(0, i)));
            found.push_back(static_cast<double>(::SendMessageW(list, LB_GETCOUNT, 0, 0)));
        }
        for (std::size_t i = word.size(); i > 0; --i) {
            searching.push_back(TimeKey(field, [] { testsupport::PressKey(VK_BACK); },
                                        word.substr(0, i - 1)));
            found.push_back(static_cast<double>(::SendMessageW(list, LB_GETCOUNT, 0, 0)));
        }
        for (const std::wstring after : {L" ", L""}) {
            floor.push_back(TimeKey(field,
                                    [&] {
                                        if (after.empty()) {
                                            testsupport::PressKey(VK_BACK);
                                        } else {
                                            testsupport::TypeText(after);
                                        }
                                    },
                                    after));
        }
    }
    std::printf("search by typing, %zu-byte dic.txt: key press to filled list %.1f ms median of "
                "%zu keys (%.0f results median) | a key with nothing to search %.1f ms | "
                "first opening of the field (builds the index) %.0f ms\n",
                bytes.size(), Median(searching), searching.size(), Median(found), Median(floor),
                open);

    std::printf("  each key of the first run, results and ms:");
    for (std::size_t i = 0; i < 2 * word.size(); ++i) {
        std::printf(" %.0f/%.1f", found[i], searching[i]);
    }
    std::printf("\n");

    ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    run.wait();
    dialogThread.join();
    ::SetCurrentDirectoryW(testsupport::ExecutableFolder().c_str());
    return 0;
}
