// The text-mode rules of Pelo's data files, independent of any file API.
//
// Reading: CR LF and a lone LF end a line and are not part of it; a CR not
// followed by LF stays in the line; the byte 0x1A (Ctrl-Z) ends the data. The
// last line needs no line end. Lines have no length limit.
// Writing: every LF becomes CR LF; nothing else changes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// Where the bytes come from. Read() returns the number of bytes placed in
// `buffer` (0 at the end of the data) and throws to report a read error; the
// error propagates unchanged out of LineReader.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// A ByteSource over bytes already in memory.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t Read(char* buffer, std::size_t size) override;

private:
    std::string_view m_bytes;
};

class LineReader {
public:
    explicit LineReader(ByteSource& source) : m_source(source) {}

    // Reads the next line without its line end. Returns false when no data
    // at all was left (end of data or Ctrl-Z). The view stays valid until the
    // next read: it points into the reader's buffer, or into a scratch string
    // for a line that spans chunks, so most lines are never copied.
    bool ReadLine(std::string_view& line);
    // The same, copied into `line`.
    bool ReadLine(std::string& line);

private:
    bool Fill();
    void ReadSpanningLine(std::string_view& line);

    ByteSource& m_source;
    std::vector<char> m_buffer = std::vector<char>(64 * 1024);
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    std::string m_scratch;
};

// Splits whole file contents into lines with the reading rules above.
std::vector<std::string> SplitTextModeLines(std::string_view bytes);

// Converts text to its text-mode file form: every LF becomes CR LF.
std::string ToTextModeBytes(std::string_view text);

constexpr char kCtrlZ = '\x1A';

}  // namespace text
