// The dialog base: message-table dispatch, the DefWindowProc override that
// sees the window's whole life, data exchange, owners and centring, and
// exceptions stopped at the window procedure with the user told.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"
#include "win/Application.h"
#include "win/Dialog.h"
#include "win/FileError.h"
#include "win/Strings.h"

namespace {

using namespace std::chrono_literals;

// The AA editor's template from the linked resources: OK, Cancel, a label, two edits.
constexpr UINT kButton = IDC_AA_TITLE_LABEL;
constexpr UINT kEdit = IDC_AA_TITLE;
constexpr UINT kEnd = WM_APP + 1;
constexpr UINT kAdd = WM_APP + 2;
constexpr UINT kThrowFileError = WM_APP + 3;
constexpr UINT kThrowOther = WM_APP + 4;
constexpr UINT kRunChild = WM_APP + 5;
constexpr UINT kCustomNotify = 777;


class TestDialog : public win::Dialog {
public:
    TestDialog() : Dialog(IDD_EDIT_AA) {}

    std::vector<UINT> defaultMessages;    // in the order DefWindowProc saw them
    std::vector<WPARAM> defaultCommands;  // wParam of WM_COMMAND among them
    std::vector<std::string> events;
    std::string text = "loaded";
    HWND lastHwnd = nullptr;
    bool postNcDestroyHadNoWindow = false;
    std::function<void(TestDialog&)> onInit;

    using Dialog::Hwnd;

protected:
    std::span<const win::MessageEntry> GetMessageMap() const override {
        static constexpr win::MessageEntry table[] = {
            win::OnCommand<&TestDialog::OnButton>(BN_CLICKED, kButton),
            win::OnNotify<&TestDialog::OnCustomNotify>(kCustomNotify, kButton),
            win::OnMessage<&TestDialog::OnAdd>(kAdd),
            win::OnMessage<&TestDialog::OnEnd>(kEnd),
            win::OnMessage<&TestDialog::OnThrowFileError>(kThrowFileError),
            win::OnMessage<&TestDialog::OnThrowOther>(kThrowOther),
            win::OnMessage<&TestDialog::OnRunChild>(kRunChild),
            win::OnMessage<&TestDialog::OnSize>(WM_SIZE),
        };
        return table;
    }
    void DoDataExchange(win::DataExchange& dx) override {
        Dialog::DoDataExchange(dx);
        dx.Text(kEdit, text);
    }
    BOOL OnInitDialog() override {
        events.push_back("init");
        Dialog::OnInitDialog();
        lastHwnd = Hwnd();
        if (onInit) {
            onInit(*this);
        }
        return TRUE;
    }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        defaultMessages.push_back(message);
        if (message == WM_COMMAND) {
            defaultCommands.push_back(wParam);
        }
        return Dialog::DefWindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override {
        events.push_back("postncdestroy");
        postNcDestroyHadNoWindow = Hwnd() == nullptr;
    }

public:
    void OnButton() { events.push_back("button"); }
    void OnCustomNotify(NMHDR* header, LRESULT* result) {
        events.push_back("notify from " + std::to_string(header->idFrom));
        *result = 42;
    }
    LRESULT OnAdd(WPARAM a, LPARAM b) { return static_cast<LRESULT>(a) + b; }
    void OnEnd() { EndDialog(77); }
    void OnThrowFileError() {
        throw win::FileError(win::FileErrorCause::FileNotFound, "C:\\data\\dic.txt");
    }
    void OnThrowOther() { throw std::runtime_error("broken invariant"); }
    void OnSize(UINT, int cx, int) {
        sizeWidth = cx;
        Default();
    }
    void OnRunChild() {
        TestDialog child;  // no parent: the main window owns it
        child.onInit = [this](TestDialog& self) {
            childOwner = ::GetWindow(self.Hwnd(), GW_OWNER);
            ownerEnabledDuringChild = ::IsWindowEnabled(Hwnd()) != FALSE;
            RECT r;
            ::GetWindowRect(self.Hwnd(), &r);
            childCentre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            ::PostMessageA(self.Hwnd(), kEnd, 0, 0);
        };
        childResult = child.DoModal();
        ownerEnabledAfterChild = ::IsWindowEnabled(Hwnd()) != FALSE;
        EndDialog(IDOK);
    }

    int sizeWidth = -1;
    HWND childOwner = nullptr;
    bool ownerEnabledDuringChild = true;
    bool ownerEnabledAfterChild = false;
    POINT childCentre{};
    INT_PTR childResult = 0;
};

bool Contains(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

TEST(Dialog, TableDispatchAndDefaultProcessing) {
    TestDialog dialog;
    LRESULT sum = 0, notifyResult = 0;
    dialog.onInit = [&](TestDialog& self) {
        const HWND hwnd = self.Hwnd();
        ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, kButton)));
        // The same id with another code is not in the table.
        ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kButton, BN_SETFOCUS), 0);
        sum = ::SendMessageA(hwnd, kAdd, 5, 7);
        NMHDR header{::GetDlgItem(hwnd, kButton), kButton, kCustomNotify};
        notifyResult = ::SendMessageA(hwnd, WM_NOTIFY, kButton, reinterpret_cast<LPARAM>(&header));
        ::PostMessageA(hwnd, kEnd, 0, 0);
    };
    EXPECT_EQ(dialog.DoModal(), 77);

    EXPECT_EQ(sum, 12);
    EXPECT_EQ(notifyResult, 42);
    EXPECT_EQ(dialog.events,
              (std::vector<std::string>{"init", "button", "notify from " + std::to_string(kButton), "postncdestroy"}));
    EXPECT_TRUE(dialog.postNcDestroyHadNoWindow);
    EXPECT_EQ(dialog.Hwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(dialog.lastHwnd));

    // The override saw the window's creation and its positioning, but not
    // the messages the table or the base handled.
    const auto& seen = dialog.defaultMessages;
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(Contains(seen, WM_NCCREATE)) << "subclassed before creation";
    EXPECT_TRUE(Contains(seen, WM_CREATE));
    EXPECT_TRUE(Contains(seen, WM_WINDOWPOSCHANGING));
    EXPECT_TRUE(Contains(seen, WM_WINDOWPOSCHANGED));
    EXPECT_TRUE(Contains(seen, WM_NCDESTROY));
    EXPECT_FALSE(Contains(seen, WM_INITDIALOG));
    EXPECT_FALSE(Contains(seen, kAdd));
    EXPECT_FALSE(Contains(seen, WM_NOTIFY));
    const auto& commands = dialog.defaultCommands;
    EXPECT_EQ(std::count(commands.begin(), commands.end(), MAKEWPARAM(kButton, BN_CLICKED)), 0);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), MAKEWPARAM(kButton, BN_SETFOCUS)), 1)
        << "a command the table does not know goes on to default processing";
}

TEST(Dialog, OkExchangesDataAndCancelDoesNot) {
    TestDialog ok;
    std::string shown;
    ok.onInit = [&](TestDialog& self) {
        char buffer[64] = {};
        ::GetDlgItemTextA(self.Hwnd(), kEdit, buffer, sizeof buffer);
        shown = buffer;
        ::SetDlgItemTextA(self.Hwnd(), kEdit, "typed \x83\x5C");
        ::PostMessageA(self.Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_EQ(ok.DoModal(), IDOK);
    EXPECT_EQ(shown, "loaded") << "OnInitDialog loads the members into the controls";
    EXPECT_EQ(ok.text, "typed \x83\x5C");

    TestDialog cancel;
    cancel.onInit = [](TestDialog& self) {
        ::SetDlgItemTextA(self.Hwnd(), kEdit, "discarded");
        ::PostMessageA(self.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    EXPECT_EQ(cancel.DoModal(), IDCANCEL);
    EXPECT_EQ(cancel.text, "loaded");
}

TEST(Dialog, SizeHandlerGetsTheClientSize) {
    TestDialog dialog;
    dialog.onInit = [](TestDialog& self) {
        ::SetWindowPos(self.Hwnd(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
        ::PostMessageA(self.Hwnd(), kEnd, 0, 0);
    };
    dialog.DoModal();
    // The client width of a 400-pixel-wide window, whatever the frame.
    EXPECT_GT(dialog.sizeWidth, 300);
    EXPECT_LT(dialog.sizeWidth, 400);
    EXPECT_TRUE(Contains(dialog.defaultMessages, WM_SIZE)) << "Default() passes it on";
}

// The main window is centred in the work area; a dialog without a parent
// is owned by the main window, centred over it and keeps it disabled.
TEST(Dialog, OwnerAndCentring) {
    class App : public win::Application {
    } app;
    TestDialog main;
    app.SetMainWindow(&main);
    main.onInit = [&](TestDialog& self) { ::PostMessageA(self.Hwnd(), kRunChild, 0, 0); };
    const INT_PTR result = main.DoModal();
    app.SetMainWindow(nullptr);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(main.childResult, 77);
    EXPECT_EQ(main.childOwner, main.lastHwnd);
    EXPECT_FALSE(main.ownerEnabledDuringChild);
    EXPECT_TRUE(main.ownerEnabledAfterChild);

    // Both are the same size, so centred over the main window means the
    // same centre as the main window, which sits in the work area's centre.
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(main.childCentre.x, (work.left + work.right) / 2, 2);
    EXPECT_NEAR(main.childCentre.y, (work.top + work.bottom) / 2, 2);
}

TEST(FileError, TextsFromTheResources) {
    using win::FileError;
    using win::FileErrorCause;
    EXPECT_EQ(FileError(FileErrorCause::None, "x").Message(), "No error occurred.");
    EXPECT_EQ(FileError(FileErrorCause::FileNotFound, "C:\\a\\dic.txt").Message(),
              "C:\\a\\dic.txt was not found.");
    EXPECT_EQ(FileError(FileErrorCause::FileNotFound, "").Message(),
              "an unnamed file was not found.");
    EXPECT_EQ(FileError(FileErrorCause::SharingViolation, "AA\\\x83\x5C.txt").Message(),
              "A sharing violation occurred while accessing AA\\\x83\x5C.txt.");
    EXPECT_EQ(FileError(FileErrorCause::AccessDenied, "a%1b").Message(),
              "Access to a%1b was denied.")
        << "a path is inserted once, never expanded again";
    EXPECT_EQ(FileError::FromSystemError(ERROR_DISK_FULL, "f").Message(),
              "Disk full while accessing f.");
    EXPECT_EQ(FileError(FileErrorCause::EndOfFile, "f").Message(),
              "An attempt was made to access f past its end.");
}

// From a helper thread: the next message box of this process, its text, caption and
// owner, answered with OK.
struct SeenBox {
    std::string text, caption;
    HWND owner = nullptr;
};
std::future<SeenBox> AnswerNextBox() {
    return std::async(std::launch::async, [] {
        SeenBox seen;
        if (const HWND box = testsupport::WaitForMessageBox(::GetCurrentProcessId())) {
            seen = {testsupport::MessageBoxText(box), testsupport::WindowText(box),
                    ::GetWindow(box, GW_OWNER)};
            testsupport::AnswerMessageBox(box);
        }
        return seen;
    });
}

TEST(Dialog, EscapedExceptionsAreReportedAndTheDialogGoesOn) {
    for (const UINT trigger : {kThrowFileError, kThrowOther}) {
        TestDialog dialog;
        std::future<SeenBox> box = AnswerNextBox();
        dialog.onInit = [trigger](TestDialog& self) {
            ::PostMessageA(self.Hwnd(), trigger, 0, 0);
            ::PostMessageA(self.Hwnd(), kEnd, 0, 0);
        };
        EXPECT_EQ(dialog.DoModal(), 77) << "the dialog ran on after the exception";
        const SeenBox seen = box.get();
        if (trigger == kThrowFileError) {
            EXPECT_EQ(seen.text, "C:\\data\\dic.txt was not found.");
        } else {
            EXPECT_NE(seen.text.find("broken invariant"), std::string::npos) << seen.text;
        }
        EXPECT_EQ(seen.owner, dialog.lastHwnd) << "modal to the dialog";
        EXPECT_EQ(seen.caption, "layer_dialog_test") << "the executable's name";
    }
}

}  // namespace
