// What the AA end-to-end tests share: Pelo started on its "AAリスト" page,
// the AA editor found and filled in, message boxes read and answered, and
// the working folder inspected byte for byte.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "E2e.h"
#include "app/resource.h"

namespace aa_e2e {

inline std::string Cp932(std::wstring_view text) {
    return e2e::ToCp932(text);
}

// Texts of the messages the AA page and its editor show.
inline const std::string kSelectItem = Cp932(L"リストから対象を選択して下さい。");
inline const std::string kEnterTitle = Cp932(L"AAタイトルを入力して下さい。");
inline const std::string kTitleExists = Cp932(L"同じAAタイトルが存在します。上書きしますか？");
inline const std::string kBadTitle = Cp932(L"このAAタイトルはファイル名に使えません。");

class AAEndToEnd : public ::testing::Test {
protected:
    // Starts Pelo in the prepared folder and switches to the AA page.
    void StartOnAAPage() {
        ASSERT_TRUE(pelo.Start());
        ASSERT_TRUE(pelo.Activate());
        // The tab control takes the focus first, so that a click lost to a
        // busy display does not leave the arrow keys with another control.
        const HWND tab = pelo.Control(IDC_TAB);
        ::SendMessageW(pelo.MainWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tab), TRUE);
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedWindowOf(tab) == tab; }));
        ASSERT_TRUE(e2e::SelectTab(tab, e2e::kAATab));
        ASSERT_TRUE(e2e::IsVisible(List()));
    }

    HWND List() const { return pelo.Control(IDC_AA_LIST); }
    std::vector<std::string> Titles() const { return e2e::ListItems(List()); }

    // Clicks New or Edit and waits for the editor; null when none appeared.
    HWND OpenEditor(int button) {
        e2e::PostButtonClick(pelo.Control(button));
        HWND editor = nullptr;
        e2e::WaitUntil([&] {
            editor = e2e::FindTopLevelWindow(pelo.Id(), L"AAエディター", L"#32770");
            return editor != nullptr && e2e::IsVisible(editor);
        });
        return editor;
    }

    static void Fill(HWND editor, std::string_view title, std::string_view text) {
        e2e::SetEditText(::GetDlgItem(editor, IDC_AA_TITLE), title);
        e2e::SetEditText(::GetDlgItem(editor, IDC_AA_TEXT), text);
    }

    static void ClickOK(HWND editor) { e2e::PostButtonClick(::GetDlgItem(editor, IDOK)); }

    static bool WaitClosed(HWND window) {
        return e2e::WaitUntil([&] { return !::IsWindow(window); });
    }

    // Waits for a message box, answers it with `answer` and returns its text
    // ("" when none appeared).
    std::string AnswerBox(int answer = IDOK) {
        const HWND box = e2e::WaitForMessageBox(pelo.Id());
        if (box == nullptr) {
            return {};
        }
        std::string text = e2e::MessageBoxText(box);
        EXPECT_EQ(e2e::MessageBoxCaption(box), "Pelo");
        EXPECT_TRUE(e2e::AnswerMessageBox(box, answer));
        return text;
    }

    // Waits until Pelo's thread has handled everything sent before.
    void Sync() const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(pelo.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    }

    // Every file below `folder` with its bytes ("<dir>" for a folder).
    static std::map<std::wstring, std::string> Snapshot(const std::filesystem::path& folder) {
        std::map<std::wstring, std::string> entries;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::wstring name = entry.path().lexically_relative(folder).wstring();
            entries[name] = entry.is_directory() ? std::string("<dir>")
                                                 : testsupport::ReadFileBytes(entry.path());
        }
        return entries;
    }

    // The names of the AA folder's files as stored (letter case included).
    std::vector<std::string> PieceFileNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(pelo.PathOf("AA"))) {
            names.push_back(Cp932(entry.path().filename().wstring()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    e2e::PeloProcess pelo;
};

}  // namespace aa_e2e
