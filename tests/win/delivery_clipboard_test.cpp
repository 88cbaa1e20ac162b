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

std::string BytesOf(const std::wstring& wide) {
    return std::string(reinterpret_cast<const char*>(wide.c_str()), wide.size() * 2 + 2);
}

text::EncodedText ShiftJis(std::string bytes) {
    return {std::move(bytes), text::Encoding::ShiftJis};
}

TEST(DeliveryPlaceText, PlacesTheTextExactlyAndItsOtherFormBeside) {
    const struct {
        const char* what;
        text::EncodedText text;
        std::string ansi;  // CF_TEXT, without its zero
        std::wstring unicode;
    } kCases[] = {
        // ソ (83 5C) and － (81 7C): trail bytes '\' and '|'; ｱｲ: half-width katakana.
        {"Shift-JIS", ShiftJis("\x83\x5C\x81\x7C(\xB1\xB2)\\|"), "\x83\x5C\x81\x7C(\xB1\xB2)\\|",
         L"ソ－(ｱｲ)\\|"},
        {"empty", ShiftJis(""), "", L""},
        // ∵ has an NEC code (87 9A) beside its JIS one (81 E6): the bytes stay.
        {"an NEC duplicate code", ShiftJis("\x87\x9A"), "\x87\x9A", L"∵"},
        // A heart, a character beyond the BMP (a surrogate pair), a combining
        // mark and an Arabic letter have no Shift-JIS form: CF_TEXT gets the
        // nearest text, CF_UNICODETEXT every character.
        {"UTF-8 beyond Shift-JIS",
         {"(\xE2\x99\xA5\xF0\x9F\x90\xBB\xCC\x81\xD9\x84)", text::Encoding::Utf8},
         "",
         L"(\u2665\U0001F43B\u0301\u0644)"},
        {"UTF-8 within Shift-JIS", {"(\xE3\x82\xBD)", text::Encoding::Utf8}, "(\x83\x5C)", L"(ソ)"},
    };
    for (const auto& c : kCases) {
        FakeClipboard clipboard;
        ASSERT_TRUE(delivery::PlaceText(clipboard, c.text)) << c.what;
        EXPECT_EQ(clipboard.placed[CF_UNICODETEXT], BytesOf(c.unicode)) << c.what;
        if (c.text.encoding == text::Encoding::ShiftJis || !c.ansi.empty()) {
            EXPECT_EQ(clipboard.placed[CF_TEXT], c.ansi + '\0') << c.what;
        } else {
            // The nearest form is the system's choice; it is there, and ends
            // where the text ends.
            const std::string& ansi = clipboard.placed[CF_TEXT];
            EXPECT_TRUE(ansi.size() > 2 && ansi.front() == '(' &&
                        ansi.ends_with(std::string(")\0", 2)))
                << c.what;
        }
        EXPECT_EQ(clipboard.opens, 1);
        EXPECT_EQ(clipboard.closes, 1);
    }
}

TEST(DeliveryPlaceText, OpeningIsRetriedAFewTimesOnly) {
    FakeClipboard briefly;
    briefly.failingOpens = 3;
    EXPECT_TRUE(delivery::PlaceText(briefly, ShiftJis("x")));
    EXPECT_EQ(briefly.opens, 4);
    EXPECT_EQ(briefly.pauses, 3);
    EXPECT_EQ(briefly.placed[CF_TEXT], std::string("x", 2));

    FakeClipboard forever;
    forever.failingOpens = 1000;
    EXPECT_FALSE(delivery::PlaceText(forever, ShiftJis("x")));
    EXPECT_EQ(forever.opens, delivery::kOpenAttempts);
    EXPECT_EQ(forever.pauses, delivery::kOpenAttempts - 1);
    EXPECT_EQ(forever.empties + forever.closes, 0) << "a clipboard never opened is not touched";
}

TEST(DeliveryPlaceText, RefusedStepsCloseTheClipboardAndFreeTheirBlock) {
    FakeClipboard noEmpty;
    noEmpty.refuseEmpty = true;
    EXPECT_FALSE(delivery::PlaceText(noEmpty, ShiftJis("x")));
    EXPECT_TRUE(noEmpty.placed.empty());
    EXPECT_EQ(noEmpty.closes, 1);

    // Without its other form the text is still there; without its own, nothing is.
    const struct {
        text::Encoding encoding;
        UINT refused;
        bool placed;
    } kCases[] = {
        {text::Encoding::ShiftJis, CF_TEXT, false},
        {text::Encoding::ShiftJis, CF_UNICODETEXT, true},
        {text::Encoding::Utf8, CF_UNICODETEXT, false},
        {text::Encoding::Utf8, CF_TEXT, true},
    };
    for (const auto& [encoding, format, placed] : kCases) {
        FakeClipboard clipboard;
        clipboard.refusedFormat = format;
        EXPECT_EQ(delivery::PlaceText(clipboard, {"x", encoding}), placed) << format;
        EXPECT_EQ(clipboard.closes, 1);
        ASSERT_EQ(clipboard.refused.size(), 1u);
        EXPECT_EQ(::GlobalFlags(clipboard.refused[0]), GMEM_INVALID_HANDLE) << "freed";
    }
}

}  // namespace
