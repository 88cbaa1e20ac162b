// Placing text on the clipboard through a stand-in that records every step and fails
// where a case says so. (The real clipboard: main_dialog_test, delivery_paste_test.)
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "delivery/Clipboard.h"

namespace {

class FakeClipboard : public delivery::Clipboard {
public:
    ~FakeClipboard() override {
        for (HGLOBAL block : m_taken) {
            ::GlobalFree(block);
        }
    }
    bool Open() override { return isOpen = ++opens > failingOpens; }
    void Close() override { ++closes, isOpen = false; }
    bool Empty() override { return ++empties, isOpen && !refuseEmpty; }
    bool SetData(UINT format, HGLOBAL block) override {
        EXPECT_TRUE(isOpen && empties == 1) << "data is set only after emptying";
        if (format == refusedFormat) {
            refused.push_back(block);
            return false;
        }
        placed[format] =
            std::string(static_cast<const char*>(::GlobalLock(block)), ::GlobalSize(block));
        ::GlobalUnlock(block);
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
    int opens = 0, closes = 0, empties = 0, pauses = 0;
    bool isOpen = false;
    std::map<UINT, std::string> placed;
    std::vector<HGLOBAL> refused;

private:
    std::vector<HGLOBAL> m_taken;
};

TEST(DeliveryPlaceText, PlacesExactBytesWithTheirZeroAndTheirUnicodeForm) {
    // ソ (83 5C) and － (81 7C): trail bytes '\' and '|'; ｱｲ: half-width katakana.
    for (const auto& [text, wide] :
         {std::pair<std::string, std::wstring>{"\x83\x5C\x81\x7C(\xB1\xB2)\\|", L"ソ－(ｱｲ)\\|"},
          {"", L""}}) {
        FakeClipboard clipboard;
        ASSERT_TRUE(delivery::PlaceText(clipboard, text));
        EXPECT_EQ(clipboard.placed[CF_TEXT], text + '\0');
        EXPECT_EQ(clipboard.placed[CF_UNICODETEXT],
                  std::string(reinterpret_cast<const char*>(wide.c_str()), wide.size() * 2 + 2));
        EXPECT_EQ(clipboard.opens, 1);
        EXPECT_EQ(clipboard.closes, 1);
    }
}

TEST(DeliveryPlaceText, OpeningIsRetriedAFewTimesOnly) {
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
    EXPECT_EQ(forever.empties + forever.closes, 0) << "a clipboard never opened is not touched";
}

TEST(DeliveryPlaceText, RefusedStepsCloseTheClipboardAndFreeTheirBlock) {
    FakeClipboard noEmpty;
    noEmpty.refuseEmpty = true;
    EXPECT_FALSE(delivery::PlaceText(noEmpty, "x"));
    EXPECT_TRUE(noEmpty.placed.empty());
    EXPECT_EQ(noEmpty.closes, 1);

    // Without its Unicode form the text is still there.
    for (const UINT format : {CF_TEXT, CF_UNICODETEXT}) {
        FakeClipboard clipboard;
        clipboard.refusedFormat = format;
        EXPECT_EQ(delivery::PlaceText(clipboard, "x"), format == CF_UNICODETEXT);
        EXPECT_EQ(clipboard.closes, 1);
        ASSERT_EQ(clipboard.refused.size(), 1u);
        EXPECT_EQ(::GlobalFlags(clipboard.refused[0]), GMEM_INVALID_HANDLE) << "freed";
    }
}

}  // namespace
