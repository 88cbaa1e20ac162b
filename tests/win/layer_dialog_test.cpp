// The dialog base: message-table dispatch, the DefWindowProc override that
// sees the window's whole life, data exchange, owners and centring, and
// exceptions stopped at the window procedure with the user told.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

// The dialogs are the AA editor's template, read from Pelo.exe: any label
// serves as the button of the table's rows, the title box as the edit.
constexpr UINT kButton = IDC_AA_TITLE_LABEL;
constexpr UINT kEdit = IDC_AA_TITLE;
constexpr UINT kEnd = WM_APP + 1;
constexpr UINT kAdd = WM_APP + 2;
constexpr UINT kThrowFileError = WM_APP + 3;
constexpr UINT kThrowOther = WM_APP + 4;
constexpr UINT kRunChild = WM_APP + 5;
constexpr UINT kCustomNotify = 777;

// Loads Pelo.exe (built beside this test) as a data file for its dialog
// templates and strings.
class ProductResources : public ::testing::Environment {
public:
    void SetUp() override {
        const std::wstring exe = (testsupport::ExecutableFolder() / L"Pelo.exe").wstring();
        m_module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr) << "Pelo.exe must be beside the test";
        win::SetResourceInstance(m_module);
    }
    void TearDown() override {
        win::SetResourceInstance(nullptr);
        ::FreeLibrary(m_module);
    }

private:
    HMODULE m_module = nullptr;
};
::testing::Environment* const kProductResources =
    ::testing::AddGlobalTestEnvironment(new ProductResources);

class TestDialog : public win::Dialog {
public:
    explicit TestDialog(HWND parent = nullptr) : Dialog(IDD_EDIT_AA, parent) {}

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
              (std::vector<std::string>{"init", "button", "notify from " + std::to_string(kButton),
                                        "postncdestroy"}));
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

TEST(FileError, Texts) {
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

// Watches this thread's windows for the next message box (a dialog-class
// window owned by another), reads its caption and text and presses OK.
class MessageBoxCloser {
public:
    // `ownedOnly` false: any dialog-class window of this thread is taken.
    explicit MessageBoxCloser(bool ownedOnly = true)
        : m_threadId(::GetCurrentThreadId()), m_ownedOnly(ownedOnly), m_thread([this] {
              HWND box = nullptr;
              testsupport::WaitUntil([&] { return (box = FindBox()) != nullptr; }, 30s);
              if (box == nullptr) {
                  return;
              }
              wchar_t text[512] = {};
              ::GetDlgItemTextW(box, 0xFFFF, text, 512);
              m_text = text;
              wchar_t caption[256] = {};
              ::GetWindowTextW(box, caption, 256);
              m_caption = caption;
              m_owner = ::GetWindow(box, GW_OWNER);
              ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          }) {}
    ~MessageBoxCloser() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    // The box's text, once it has been closed (nothing if none appeared).
    std::optional<std::wstring> Text() {
        m_thread.join();
        return m_text;
    }
    const std::wstring& Caption() const { return m_caption; }
    HWND Owner() const { return m_owner; }

private:
    struct Search {
        bool ownedOnly;
        HWND found = nullptr;
    };
    static BOOL CALLBACK TakeMessageBox(HWND window, LPARAM param) {
        auto& search = *reinterpret_cast<Search*>(param);
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770" && ::IsWindowVisible(window) &&
            (!search.ownedOnly || ::GetWindow(window, GW_OWNER) != nullptr)) {
            search.found = window;
            return FALSE;
        }
        return TRUE;
    }
    HWND FindBox() const {
        Search search{m_ownedOnly};
        ::EnumThreadWindows(m_threadId, &TakeMessageBox, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    DWORD m_threadId;
    bool m_ownedOnly;
    std::optional<std::wstring> m_text;
    std::wstring m_caption;
    HWND m_owner = nullptr;
    std::thread m_thread;
};

TEST(Dialog, EscapedExceptionsAreReportedAndTheDialogGoesOn) {
    for (const UINT trigger : {kThrowFileError, kThrowOther}) {
        TestDialog dialog;
        MessageBoxCloser closer;
        dialog.onInit = [trigger](TestDialog& self) {
            ::PostMessageA(self.Hwnd(), trigger, 0, 0);
            ::PostMessageA(self.Hwnd(), kEnd, 0, 0);
        };
        EXPECT_EQ(dialog.DoModal(), 77) << "the dialog ran on after the exception";
        const std::optional<std::wstring> text = closer.Text();
        ASSERT_TRUE(text.has_value()) << "no message box appeared";
        if (trigger == kThrowFileError) {
            EXPECT_EQ(*text, L"C:\\data\\dic.txt was not found.");
        } else {
            EXPECT_NE(text->find(L"broken invariant"), std::wstring::npos);
        }
        EXPECT_EQ(closer.Owner(), dialog.lastHwnd) << "modal to the dialog";
        EXPECT_EQ(closer.Caption(), L"layer_dialog_test") << "the executable's name";
    }
}

// An exception that leaves the application's run is shown, and ends it with 1.
TEST(Application, AnExceptionLeavingTheRunIsShown) {
    class App : public win::Application {
        BOOL InitInstance() override { throw std::runtime_error("no room for the settings"); }
    } app;
    MessageBoxCloser closer(false);
    EXPECT_EQ(app.Run(), 1);
    const std::optional<std::wstring> text = closer.Text();
    ASSERT_TRUE(text.has_value()) << "the user was not told";
    EXPECT_NE(text->find(L"no room for the settings"), std::wstring::npos) << *text;
}

}  // namespace
