// The dialog base: message-table dispatch, the default processing that sees the
// window's whole life, exceptions stopped at the window procedure with the user
// told, and the file errors' texts. (Data exchange, owners and centring are seen
// on the real dialogs in main_dialog_test.)
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"
#include "win/Dialog.h"
#include "win/FileError.h"

namespace {

using win::FileError;
using win::FileErrorCause;

constexpr UINT kLabel = IDC_AA_TITLE_LABEL;  // of the AA editor's template, used here
constexpr UINT kEnd = WM_APP + 1;
constexpr UINT kAdd = WM_APP + 2;
constexpr UINT kThrowFileError = WM_APP + 3;
constexpr UINT kThrowOther = WM_APP + 4;
constexpr UINT kCustomNotify = 777;

class TestDialog : public win::Dialog {
public:
    TestDialog() : Dialog(IDD_EDIT_AA) {}
    using Dialog::Hwnd;
    std::function<void(HWND)> onInit;
    std::vector<std::string> events;
    std::vector<UINT> defaultMessages;  // in the order the default processing saw them
    std::vector<WPARAM> defaultCommands;
    HWND window = nullptr;

    void OnLabel() { events.push_back("command"); }
    void OnCustomNotify(NMHDR* header, LRESULT* result) {
        events.push_back("notify from " + std::to_string(header->idFrom));
        *result = 42;
    }
    LRESULT OnAdd(WPARAM a, LPARAM b) { return static_cast<LRESULT>(a) + b; }
    void OnEnd() { EndDialog(77); }
    void OnThrowFileError() { throw FileError(FileErrorCause::FileNotFound, "C:\\data\\dic.txt"); }
    void OnThrowOther() { throw std::runtime_error("broken invariant"); }

protected:
    std::span<const win::MessageEntry> GetMessageMap() const override {
        static constexpr win::MessageEntry table[] = {
            win::OnCommand<&TestDialog::OnLabel>(BN_CLICKED, kLabel),
            win::OnNotify<&TestDialog::OnCustomNotify>(kCustomNotify, kLabel),
            win::OnMessage<&TestDialog::OnAdd>(kAdd),
            win::OnMessage<&TestDialog::OnEnd>(kEnd),
            win::OnMessage<&TestDialog::OnThrowFileError>(kThrowFileError),
            win::OnMessage<&TestDialog::OnThrowOther>(kThrowOther),
        };
        return table;
    }
    BOOL OnInitDialog() override {
        Dialog::OnInitDialog();
        onInit(window = Hwnd());
        return TRUE;
    }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        defaultMessages.push_back(message);
        if (message == WM_COMMAND) {
            defaultCommands.push_back(wParam);
        }
        return Dialog::DefWindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { events.push_back(Hwnd() ? "late" : "gone"); }
};

TEST(Dialog, TableDispatchAndDefaultProcessing) {
    TestDialog dialog;
    LRESULT sum = 0, notified = 0;
    dialog.onInit = [&](HWND window) {
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(kLabel, BN_CLICKED), 0);
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(kLabel, BN_SETFOCUS), 0);  // not in the table
        sum = ::SendMessageW(window, kAdd, 5, 7);
        NMHDR header{::GetDlgItem(window, kLabel), kLabel, kCustomNotify};
        notified = ::SendMessageW(window, WM_NOTIFY, kLabel, reinterpret_cast<LPARAM>(&header));
        ::PostMessageW(window, kEnd, 0, 0);
    };
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_EQ(sum, 12);
    EXPECT_EQ(notified, 42);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{
                                 "command", "notify from " + std::to_string(kLabel), "gone"}));
    EXPECT_FALSE(::IsWindow(dialog.window));

    // The default processing saw the window's life, but not what the table handled.
    const auto saw = [&](UINT message) {
        const auto& seen = dialog.defaultMessages;
        return std::find(seen.begin(), seen.end(), message) != seen.end();
    };
    for (UINT message : {WM_NCCREATE, WM_CREATE, WM_WINDOWPOSCHANGED, WM_NCDESTROY}) {
        EXPECT_TRUE(saw(message)) << message;
    }
    for (UINT message : {static_cast<UINT>(WM_INITDIALOG), kAdd, static_cast<UINT>(WM_NOTIFY)}) {
        EXPECT_FALSE(saw(message)) << message;
    }
    EXPECT_EQ(dialog.defaultCommands, std::vector<WPARAM>{MAKEWPARAM(kLabel, BN_SETFOCUS)});
}

TEST(Dialog, EscapedExceptionsAreReportedModallyAndTheDialogGoesOn) {
    for (const auto& [trigger, text] : {std::pair{kThrowFileError, "C:\\data\\dic.txt was not found."},
                                        {kThrowOther, "broken invariant"}}) {
        TestDialog dialog;
        dialog.onInit = [trigger](HWND window) {
            ::PostMessageW(window, trigger, 0, 0);
            ::PostMessageW(window, kEnd, 0, 0);
        };
        auto box = std::async(std::launch::async, [] {
            const HWND found = testsupport::WaitForMessageBox(::GetCurrentProcessId());
            const std::vector<std::string> seen = {testsupport::MessageBoxText(found),
                                                   testsupport::WindowText(found)};
            const HWND owner = ::GetWindow(found, GW_OWNER);
            testsupport::AnswerMessageBox(found);
            return std::pair{seen, owner};
        });
        EXPECT_EQ(dialog.DoModal(), 77) << "the dialog ran on after the exception";
        const auto [seen, owner] = box.get();
        EXPECT_NE(seen[0].find(text), std::string::npos) << seen[0];
        EXPECT_EQ(seen[1], "layer_dialog_test") << "the executable's name";
        EXPECT_EQ(owner, dialog.window) << "modal to the dialog";
    }
}

// A file error names its cause and its path; the path is inserted once, never expanded.
TEST(FileError, TextsNameTheCauseAndThePath) {
    const std::pair<FileError, std::string> errors[] = {
        {FileError(FileErrorCause::None, "x"), "No error occurred."},
        {FileError(FileErrorCause::FileNotFound, "C:\\a\\dic.txt"), "C:\\a\\dic.txt was not found."},
        {FileError(FileErrorCause::FileNotFound, ""), "an unnamed file was not found."},
        {FileError(FileErrorCause::SharingViolation, "AA\\\x83\x5C.txt"),
         "A sharing violation occurred while accessing AA\\\x83\x5C.txt."},
        {FileError(FileErrorCause::AccessDenied, "a%1b"), "Access to a%1b was denied."},
        {FileError::FromSystemError(ERROR_DISK_FULL, "f"), "Disk full while accessing f."},
        {FileError::FromSystemError(ERROR_LOCK_VIOLATION, "f"),
         "A locking violation occurred while accessing f."},
        {FileError(FileErrorCause::EndOfFile, "f"), "An attempt was made to access f past its end."},
    };
    for (const auto& [error, text] : errors) {
        EXPECT_EQ(error.Message(), text);
    }
}

}  // namespace
