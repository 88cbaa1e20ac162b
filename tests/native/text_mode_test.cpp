// The text-mode reading and writing rules of Pelo's data files.
#include "text/TextMode.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Hands out the data in pieces of fixed size, so that chunk boundaries fall
// wherever a test wants them.
class TricklingSource final : public text::ByteSource {
public:
    TricklingSource(std::string data, std::size_t piece)
        : m_data(std::move(data)), m_piece(piece) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, m_piece, m_data.size() - m_pos});
        m_data.copy(buffer, n, m_pos);
        m_pos += n;
        return n;
    }

private:
    std::string m_data;
    std::size_t m_piece;
    std::size_t m_pos = 0;
};

Lines ReadAll(text::ByteSource& source) {
    text::LineReader reader(source);
    Lines lines;
    std::string line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

Lines ReadInPieces(const std::string& data, std::size_t piece) {
    TricklingSource source(data, piece);
    return ReadAll(source);
}

// The rules written out the simplest way, to compare the reader against.
Lines ReferenceLines(std::string data) {
    data = data.substr(0, data.find(text::kCtrlZ));
    Lines lines;
    std::string line;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
        } else {
            line.push_back(data[i]);
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TextModeReading, LineEnds) {
    EXPECT_EQ(text::SplitTextModeLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(text::SplitTextModeLines("a\rb\n"), (Lines{"a\rb"})) << "a lone CR stays";
    EXPECT_EQ(text::SplitTextModeLines("a\r\r\nb"), (Lines{"a\r", "b"})) << "CR CR LF";
    EXPECT_EQ(text::SplitTextModeLines("a\r"), (Lines{"a\r"})) << "CR as the last byte";
    EXPECT_EQ(text::SplitTextModeLines("\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(text::SplitTextModeLines("a\n"), (Lines{"a"})) << "no empty line after the last end";
    EXPECT_EQ(text::SplitTextModeLines(""), Lines{});
}

TEST(TextModeReading, CtrlZEndsTheData) {
    EXPECT_EQ(text::SplitTextModeLines("a\nb\x1A"
                                       "c\nd\n"),
              (Lines{"a", "b"}));
    EXPECT_EQ(text::SplitTextModeLines("\x1A"
                                       "abc"),
              Lines{});
    EXPECT_EQ(text::SplitTextModeLines("a\r\x1A\n"), (Lines{"a\r"}));

    text::MemorySource source("x\n\x1Ay\n");
    text::LineReader reader(source);
    std::string line;
    EXPECT_TRUE(reader.ReadLine(line));
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.SawCtrlZ());
    EXPECT_FALSE(reader.ReadLine(line)) << "nothing after Ctrl-Z is ever read";
}

TEST(TextModeReading, LineEndSplitAcrossChunks) {
    const std::size_t chunk = 64 * 1024;
    const std::string head(chunk - 1, 'x');
    // The CR is the last byte of the first 64 KiB chunk.
    EXPECT_EQ(text::SplitTextModeLines(head + "\r\ny"), (Lines{head, "y"}));
    EXPECT_EQ(text::SplitTextModeLines(head + "\rz\n"), (Lines{head + "\rz"}));
    EXPECT_EQ(text::SplitTextModeLines(head + "\r\r\n"), (Lines{head + "\r"}));
    EXPECT_EQ(text::SplitTextModeLines(head + "\r\x1A"), (Lines{head + "\r"}));
    EXPECT_EQ(text::SplitTextModeLines(head + "\r"), (Lines{head + "\r"}));
    // Ctrl-Z at the start of the second chunk.
    EXPECT_EQ(text::SplitTextModeLines(head + "\n\x1A"
                                              "after"),
              (Lines{head}));
}

TEST(TextModeReading, MegabyteLine) {
    const std::string big(1 << 20, '\x82');
    EXPECT_EQ(text::SplitTextModeLines(big + "\r\nnext"), (Lines{big, "next"}));
    EXPECT_EQ(ReadInPieces(big, 4093), Lines{big});
}

// Random mixes of the bytes that matter, read in pieces of every small
// size: the reader must agree with the rules however the data arrives.
TEST(TextModeReading, AgreesWithTheRulesWhateverThePieces) {
    std::mt19937 random(20261206);
    const char alphabet[] = {'a', '\r', '\n', '\r', '\n', '\x83', text::kCtrlZ};
    for (int round = 0; round < 300; ++round) {
        std::string data(random() % 40, ' ');
        for (char& c : data) {
            // Ctrl-Z rarely, so that most data has something after the start.
            c = alphabet[random() % (round % 4 == 0 ? 7 : 6)];
        }
        const Lines expected = ReferenceLines(data);
        ASSERT_EQ(text::SplitTextModeLines(data), expected) << testing::PrintToString(data);
        for (std::size_t piece = 1; piece <= 5; ++piece) {
            ASSERT_EQ(ReadInPieces(data, piece), expected)
                << testing::PrintToString(data) << " in pieces of " << piece;
        }
    }
}

TEST(TextModeReading, ReadErrorsPropagate) {
    class FailingSource final : public text::ByteSource {
    public:
        std::size_t Read(char* buffer, std::size_t) override {
            if (m_calls++ == 0) {
                buffer[0] = 'a';
                return 1;
            }
            throw std::runtime_error("disk gone");
        }

    private:
        int m_calls = 0;
    } source;
    text::LineReader reader(source);
    std::string line;
    EXPECT_THROW(reader.ReadLine(line), std::runtime_error);
}

TEST(TextModeWriting, EveryLfBecomesCrLf) {
    EXPECT_EQ(text::ToTextModeBytes("a\nb"), "a\r\nb");
    EXPECT_EQ(text::ToTextModeBytes("a\r\nb"), "a\r\r\nb") << "an existing CR is kept as it is";
    EXPECT_EQ(text::ToTextModeBytes("\n\n"), "\r\n\r\n");
    EXPECT_EQ(text::ToTextModeBytes("\x83\x5C\x1A"), "\x83\x5C\x1A") << "nothing else changes";
    EXPECT_EQ(text::ToTextModeBytes(""), "");
}

TEST(TextModeWriting, WrittenLinesReadBack) {
    const Lines lines = {"(^_^)", "\x83\x5C\x83\x74\x83\x67", "", "tab\tand space "};
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    EXPECT_EQ(text::SplitTextModeLines(text::ToTextModeBytes(text)), lines);
}

}  // namespace
