// Placing text on the clipboard and choosing where the paste goes
// (delivery/Clipboard.h): with a stand-in clipboard for the failures, with the
// system clipboard for the real hand-over.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "delivery/Clipboard.h"
#include "tests/support/TestSupport.h"
#include "win/UniqueHandle.h"

namespace {

using namespace std::chrono_literals;
using UniqueWindow = win::UniqueHandle<win::NullHandleTraits<HWND, &::DestroyWindow>>;

// ソ (83 5C) and － (81 7C) have trail bytes that read as '\' and '|';
// ｱｲｳ are half-width katakana (single bytes of 0xA0 and above).
const std::string kKaomoji = "\x83\x5C\x81\x7C(\xB1\xB2\xB3)\\|";
const std::wstring kKaomojiWide = L"\u30BD\uFF0D(\uFF71\uFF72\uFF73)\\|";

std::string BytesOf(HGLOBAL block) {
    const void* data = ::GlobalLock(block);
    if (data == nullptr) {
        return "<unlockable>";
    }
    std::string bytes(static_cast<const char*>(data), ::GlobalSize(block));
    ::GlobalUnlock(block);
    return bytes;
}

std::string WideBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()),
                       (text.size() + 1) * sizeof(wchar_t));
}

// Records what it is given; fails where a test says so.
class FakeClipboard : public delivery::Clipboard {
public:
    ~FakeClipboard() override {
        for (HGLOBAL block : m_taken) {
            ::GlobalFree(block);
        }
    }

    bool Open() override {
        ++opens;
        if (opens <= failingOpens) {
            return false;
        }
        isOpen = true;
        return true;
    }
    void Close() override {
        ++closes;
        isOpen = false;
    }
    bool Empty() override {
        EXPECT_TRUE(isOpen);
        ++empties;
        return !refuseEmpty;
    }
    bool SetData(UINT format, HGLOBAL block) override {
        EXPECT_TRUE(isOpen);
        EXPECT_EQ(empties, 1) << "data is set only after emptying";
        if (format == refusedFormat) {
            refusedBlocks.push_back(block);
            return false;
        }
        placed[format] = BytesOf(block);
        m_taken.push_back(block);
        return true;
    }
    void PauseBeforeRetry() override {
        EXPECT_FALSE(isOpen);
        ++pauses;
    }

    int failingOpens = 0;
    bool refuseEmpty = false;
    UINT refusedFormat = 0;

    int opens = 0;
    int closes = 0;
    int empties = 0;
    int pauses = 0;
    bool isOpen = false;
    std::map<UINT, std::string> placed;
    std::vector<HGLOBAL> refusedBlocks;

private:
    std::vector<HGLOBAL> m_taken;
};

TEST(DeliveryPlaceText, PlacesExactAnsiBytesAndTheirUnicodeForm) {
    FakeClipboard clipboard;
    ASSERT_TRUE(delivery::PlaceText(clipboard, kKaomoji));
    EXPECT_EQ(clipboard.placed[CF_TEXT], kKaomoji + '\0');
    EXPECT_EQ(clipboard.placed[CF_UNICODETEXT], WideBytes(kKaomojiWide));
    EXPECT_EQ(clipboard.opens, 1);
    EXPECT_EQ(clipboard.closes, 1);
    EXPECT_FALSE(clipboard.isOpen);
}

TEST(DeliveryPlaceText, AnEmptyTextIsATerminatingZeroOnly) {
    FakeClipboard clipboard;
    ASSERT_TRUE(delivery::PlaceText(clipboard, ""));
    EXPECT_EQ(clipboard.placed[CF_TEXT], std::string(1, '\0'));
    EXPECT_EQ(clipboard.placed[CF_UNICODETEXT], std::string(sizeof(wchar_t), '\0'));
}

TEST(DeliveryPlaceText, OpeningIsRetriedWhileTheClipboardIsBusy) {
    FakeClipboard briefly;
    briefly.failingOpens = 3;
    EXPECT_TRUE(delivery::PlaceText(briefly, "x"));
    EXPECT_EQ(briefly.opens, 4);
    EXPECT_EQ(briefly.pauses, 3);
    EXPECT_EQ(briefly.placed[CF_TEXT], std::string("x", 2));

    FakeClipboard forever;
    forever.failingOpens = 1000;
    EXPECT_FALSE(delivery::PlaceText(forever, "x"));
    EXPECT_EQ(forever.opens, delivery::kOpenAttempts);
    EXPECT_EQ(forever.pauses, delivery::kOpenAttempts - 1);
    EXPECT_EQ(forever.empties, 0);
    EXPECT_EQ(forever.closes, 0) << "a clipboard never opened is not closed";
    EXPECT_TRUE(forever.placed.empty());
}

TEST(DeliveryPlaceText, RefusedStepsReportFailureCloseAndFreeTheBlock) {
    FakeClipboard noEmpty;
    noEmpty.refuseEmpty = true;
    EXPECT_FALSE(delivery::PlaceText(noEmpty, "x"));
    EXPECT_TRUE(noEmpty.placed.empty());
    EXPECT_EQ(noEmpty.closes, 1);

    FakeClipboard noText;
    noText.refusedFormat = CF_TEXT;
    EXPECT_FALSE(delivery::PlaceText(noText, "x"));
    EXPECT_EQ(noText.closes, 1);
    ASSERT_EQ(noText.refusedBlocks.size(), 1u);
    // A refused block stays the caller's, who must free it.
    EXPECT_EQ(::GlobalFlags(noText.refusedBlocks[0]), GMEM_INVALID_HANDLE);

    // Without the Unicode form the text is still there as CF_TEXT.
    FakeClipboard noUnicode;
    noUnicode.refusedFormat = CF_UNICODETEXT;
    EXPECT_TRUE(delivery::PlaceText(noUnicode, "x"));
    EXPECT_EQ(noUnicode.placed[CF_TEXT], std::string("x", 2));
    ASSERT_EQ(noUnicode.refusedBlocks.size(), 1u);
    EXPECT_EQ(::GlobalFlags(noUnicode.refusedBlocks[0]), GMEM_INVALID_HANDLE);
}

// ---- The system clipboard ---------------------------------------------------------------

TEST(DeliverySystemClipboard, HoldsExactlyTheBytesAndTheUnicodeForm) {
    delivery::SystemClipboard clipboard(nullptr);
    ASSERT_TRUE(delivery::PlaceText(clipboard, kKaomoji));
    const auto ansi = testsupport::ClipboardBlock(CF_TEXT);
    ASSERT_TRUE(ansi.has_value());
    EXPECT_EQ(*ansi, kKaomoji + '\0');
    const auto unicode = testsupport::ClipboardBlock(CF_UNICODETEXT);
    ASSERT_TRUE(unicode.has_value());
    EXPECT_EQ(*unicode, WideBytes(kKaomojiWide));
}

TEST(DeliverySystemClipboard, HeldElsewhereNothingIsPlacedAndTheOldTextStays) {
    delivery::SystemClipboard clipboard(nullptr);
    ASSERT_TRUE(delivery::PlaceText(clipboard, "before"));
    {
        testsupport::ClipboardHolder holder;
        ASSERT_TRUE(holder.Opened());
        EXPECT_FALSE(delivery::PlaceText(clipboard, "after"));
    }
    EXPECT_EQ(testsupport::ClipboardBlock(CF_TEXT), std::string("before", 7));
}

// ---- Where the paste goes -----------------------------------------------------------------

std::vector<HWND> g_pasteCalls;

int __stdcall RecordPaste(HWND window, long) {
    g_pasteCalls.push_back(window);
    return 0;
}

UniqueWindow MakeTopLevel(const char* title) {
    return UniqueWindow(::CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                          nullptr, nullptr, nullptr, nullptr));
}

HWND MakeChild(HWND parent) {
    return ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr,
                             nullptr, nullptr);
}

TEST(DeliveryPasteInto, WalksTheTopLevelWindowOfTheLastActiveOne) {
    g_pasteCalls.clear();
    const UniqueWindow top = MakeTopLevel("same title");
    const UniqueWindow twin = MakeTopLevel("same title");  // found first by title
    ASSERT_TRUE(top && twin);
    const HWND first = MakeChild(top.get());
    const HWND inner = MakeChild(first);
    MakeChild(top.get());
    MakeChild(twin.get());

    // Handed a child, the paste still starts at its top-level window; the
    // callback's 0 ends the walk after one call.
    EXPECT_TRUE(delivery::PasteInto(inner, &RecordPaste));
    ASSERT_EQ(g_pasteCalls.size(), 1u);
    EXPECT_EQ(::GetAncestor(g_pasteCalls[0], GA_ROOT), top.get());
}

TEST(DeliveryPasteInto, AWindowWithoutChildrenIsAskedItself) {
    g_pasteCalls.clear();
    const UniqueWindow lonely = MakeTopLevel("");  // untitled
    ASSERT_TRUE(lonely);
    EXPECT_TRUE(delivery::PasteInto(lonely.get(), &RecordPaste));
    EXPECT_EQ(g_pasteCalls, std::vector<HWND>{lonely.get()});
}

TEST(DeliveryPasteInto, NoWindowOrAGoneOneGetsNothing) {
    g_pasteCalls.clear();
    HWND gone = nullptr;
    {
        const UniqueWindow closed = MakeTopLevel("closed");
        ASSERT_TRUE(closed);
        MakeChild(closed.get());
        gone = closed.get();
    }
    EXPECT_FALSE(delivery::PasteInto(nullptr, &RecordPaste));
    EXPECT_FALSE(delivery::PasteInto(gone, &RecordPaste));
    EXPECT_TRUE(g_pasteCalls.empty());
}

}  // namespace
