// The dialog base stops exceptions at the window procedure and tells the user; file
// errors name their cause and path. (Dispatch, data exchange, owners and centring
// are seen on the real dialogs in main_dialog_test.)
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "app/resource.h"
#include "win/Application.h"
#include "win/Dialog.h"
#include "win/FileError.h"

namespace {

using win::FileError;
using win::FileErrorCause;

constexpr UINT kEnd = WM_APP + 1;
constexpr UINT kThrowFileError = WM_APP + 2;
constexpr UINT kThrowOther = WM_APP + 3;

// On the AA editor's template (linked in): a handler table of its own.
class TestDialog : public win::Dialog {
public:
    explicit TestDialog(UINT trigger) : Dialog(IDD_EDIT_AA), trigger(trigger) {}
    HWND window = nullptr;
    UINT trigger;
    void OnEnd() { EndDialog(77); }
    void OnThrowFileError() { throw FileError(FileErrorCause::FileNotFound, L"C:\\data\\dic.txt"); }
    void OnThrowOther() { throw std::runtime_error("broken invariant"); }

protected:
    std::span<const win::MessageEntry> GetMessageMap() const override {
        static constexpr win::MessageEntry table[] = {
            win::OnMessage<&TestDialog::OnEnd>(kEnd),
            win::OnMessage<&TestDialog::OnThrowFileError>(kThrowFileError),
            win::OnMessage<&TestDialog::OnThrowOther>(kThrowOther),
        };
        return table;
    }
    BOOL OnInitDialog() override {
        Dialog::OnInitDialog();
        window = Hwnd();
        ::PostMessageW(window, trigger, 0, 0);
        ::PostMessageW(window, kEnd, 0, 0);
        return TRUE;
    }
};

struct MessageBoxSeen {
    std::string text, caption;
    HWND owner;
};
// Waits for this process's message box, reads it and answers OK.
MessageBoxSeen AnswerTheMessageBox() {
    const HWND box = testsupport::WaitForMessageBox(::GetCurrentProcessId());
    const MessageBoxSeen seen{testsupport::MessageBoxText(box), testsupport::WindowText(box),
                              ::GetWindow(box, GW_OWNER)};
    testsupport::AnswerMessageBox(box);
    return seen;
}

TEST(Dialog, EscapedExceptionsAreReportedModallyAndTheDialogGoesOn) {
    for (const auto& [trigger, text] :
         {std::pair{kThrowFileError, "C:\\data\\dic.txt was not found."},
          {kThrowOther, "broken invariant"}}) {
        TestDialog dialog(trigger);
        auto box = std::async(std::launch::async, AnswerTheMessageBox);
        EXPECT_EQ(dialog.DoModal(), 77) << "the dialog ran on after the exception";
        const MessageBoxSeen seen = box.get();
        EXPECT_NE(seen.text.find(text), std::string::npos) << seen.text;
        EXPECT_EQ(seen.caption, "layer_dialog_test") << "the executable's name";
        EXPECT_EQ(seen.owner, dialog.window) << "modal to the dialog";
    }
}

// An exception that leaves the whole run is shown too, not a silent end.
TEST(Application, AnExceptionLeavingTheRunIsShown) {
    class App : public win::Application {
        BOOL InitInstance() override { throw std::runtime_error("no room for the settings"); }
    } app;
    auto box = std::async(std::launch::async, AnswerTheMessageBox);
    EXPECT_EQ(app.Run(), 1);
    const std::string text = box.get().text;
    EXPECT_NE(text.find("no room for the settings"), std::string::npos) << text;
}

// A file error names its cause and its path; the path is inserted once, never expanded.
TEST(FileError, TextsNameTheCauseAndThePath) {
    const std::pair<FileError, std::wstring> errors[] = {
        {FileError(FileErrorCause::None, L"x"), L"No error occurred."},
        {FileError(FileErrorCause::FileNotFound, L""), L"an unnamed file was not found."},
        {FileError(FileErrorCause::SharingViolation, L"AA\\ソ\U0001F43B.txt"),
         L"A sharing violation occurred while accessing AA\\ソ\U0001F43B.txt."},
        {FileError(FileErrorCause::AccessDenied, L"a%1b"), L"Access to a%1b was denied."},
        {FileError::FromSystemError(ERROR_DISK_FULL, L"f"), L"Disk full while accessing f."},
        {FileError::FromSystemError(ERROR_LOCK_VIOLATION, L"f"),
         L"A locking violation occurred while accessing f."},
        {FileError(FileErrorCause::EndOfFile, L"f"),
         L"An attempt was made to access f past its end."},
    };
    for (const auto& [error, text] : errors) {
        EXPECT_EQ(error.WideMessage(), text);
    }
}

}  // namespace
