// The text-mode reading and writing rules of Pelo's data files.
#include "text/TextMode.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Hands out the data in pieces of fixed size, so that chunk boundaries fall
// anywhere; throws once the data is used up when told to.
class TricklingSource final : public text::ByteSource {
public:
    TricklingSource(std::string data, std::size_t piece, bool failAtEnd = false)
        : m_data(std::move(data)), m_piece(piece), m_failAtEnd(failAtEnd) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        if (m_failAtEnd && m_pos == m_data.size()) {
            throw std::runtime_error("disk gone");
        }
        const std::size_t n = std::min({size, m_piece, m_data.size() - m_pos});
        m_data.copy(buffer, n, m_pos);
        m_pos += n;
        return n;
    }

private:
    std::string m_data;
    std::size_t m_piece;
    bool m_failAtEnd;
    std::size_t m_pos = 0;
};

// Reads the lines as views (SplitTextModeLines uses the copying ReadLine).
Lines ReadInPieces(const std::string& data, std::size_t piece) {
    TricklingSource source(data, piece);
    text::LineReader reader(source);
    Lines lines;
    std::string_view line;
    while (reader.ReadLine(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

// The rules written out the simplest way, to compare the reader against.
Lines ReferenceLines(std::string data) {
    data = data.substr(0, data.find(text::kCtrlZ));
    Lines lines;
    std::string line;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const bool crLf = data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n';
        if (data[i] == '\n' || crLf) {
            lines.push_back(line);
            line.clear();
            i += crLf ? 1 : 0;
        } else {
            line.push_back(data[i]);
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// Random mixes of the bytes that matter, read whole and in pieces of every
// small size, and every one of them across the reader's 64 KiB chunk end.
TEST(TextModeReading, AgreesWithTheRulesWhereverChunksEnd) {
    std::mt19937 random(20261206);
    const char alphabet[] = {'a', '\r', '\n', '\r', '\n', '\x83', text::kCtrlZ};
    const std::string head(64 * 1024 - 2, 'x');
    for (int round = 0; round < 300; ++round) {
        std::string data(random() % 40, ' ');
        for (char& c : data) {
            // Ctrl-Z rarely, so that most data has something after the start.
            c = alphabet[random() % (round % 4 == 0 ? 7 : 6)];
        }
        for (const std::string& bytes : {data, head + data}) {
            const Lines expected = ReferenceLines(bytes);
            ASSERT_EQ(text::SplitTextModeLines(bytes), expected) << testing::PrintToString(data);
            for (std::size_t piece = 1; piece <= 5 && bytes.size() < 100; ++piece) {
                ASSERT_EQ(ReadInPieces(bytes, piece), expected) << testing::PrintToString(data);
            }
        }
    }
    const std::string big(1 << 20, '\x82');  // a line far longer than a chunk
    EXPECT_EQ(ReadInPieces(big + "\r\nnext", 4093), (Lines{big, "next"}));
}

TEST(TextModeReading, ReadErrorsPropagate) {
    TricklingSource source("a", 1, true);
    text::LineReader reader(source);
    std::string line;
    EXPECT_THROW(reader.ReadLine(line), std::runtime_error);
}

TEST(TextModeWriting, EveryLfBecomesCrLfAndNothingElseChanges) {
    EXPECT_EQ(text::ToTextModeBytes("a\nb\r\n\n\x83\x5C\x1A\r"), "a\r\nb\r\r\n\r\n\x83\x5C\x1A\r");
}

}  // namespace
