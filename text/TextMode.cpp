#include "text/TextMode.h"

#include <algorithm>
#include <cstring>

namespace text {

std::size_t MemorySource::Read(char* buffer, std::size_t size) {
    const std::size_t n = std::min(size, m_bytes.size());
    std::memcpy(buffer, m_bytes.data(), n);
    m_bytes.remove_prefix(n);
    return n;
}

// Makes at least one unread byte available; false at the end of the data.
bool LineReader::Fill() {
    if (m_pos < m_end) {
        return true;
    }
    if (m_atEnd) {
        return false;
    }
    m_pos = 0;
    m_end = m_source.Read(m_buffer.data(), m_buffer.size());
    if (m_end == 0) {
        m_atEnd = true;
        return false;
    }
    // Ctrl-Z ends the data: cut the buffer there and read no further.
    const char* z = static_cast<const char*>(std::memchr(m_buffer.data(), kCtrlZ, m_end));
    if (z != nullptr) {
        m_end = static_cast<std::size_t>(z - m_buffer.data());
        m_atEnd = true;
        return m_end > 0;
    }
    return true;
}

bool LineReader::ReadLine(std::string_view& line) {
    if (!Fill()) {
        return false;
    }
    const char* begin = m_buffer.data() + m_pos;
    const char* end = m_buffer.data() + m_end;
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', end - begin));
    if (lf == nullptr) {
        ReadSpanningLine(line);
        return true;
    }
    const char* stop = (lf > begin && lf[-1] == '\r') ? lf - 1 : lf;
    line = std::string_view(begin, static_cast<std::size_t>(stop - begin));
    m_pos += static_cast<std::size_t>(lf - begin) + 1;
    return true;
}

// A line that reaches the end of the chunk: gathered in m_scratch until its
// line end or the end of the data. Called with at least one byte available.
void LineReader::ReadSpanningLine(std::string_view& line) {
    m_scratch.clear();
    // A CR is held back until we know whether an LF follows it.
    bool pendingCr = false;
    while (Fill()) {
        const char* begin = m_buffer.data() + m_pos;
        const char* end = m_buffer.data() + m_end;
        if (pendingCr) {
            pendingCr = false;
            if (*begin == '\n') {
                ++m_pos;
                line = m_scratch;
                return;
            }
            m_scratch.push_back('\r');
        }
        const char* lf = static_cast<const char*>(std::memchr(begin, '\n', end - begin));
        if (lf != nullptr) {
            const char* stop = (lf > begin && lf[-1] == '\r') ? lf - 1 : lf;
            m_scratch.append(begin, stop);
            m_pos += static_cast<std::size_t>(lf - begin) + 1;
            line = m_scratch;
            return;
        }
        // No LF in this chunk: keep all but a final CR, which may pair with
        // an LF at the start of the next chunk.
        if (end[-1] == '\r') {
            m_scratch.append(begin, end - 1);
            pendingCr = true;
        } else {
            m_scratch.append(begin, end);
        }
        m_pos = m_end;
    }
    if (pendingCr) {
        m_scratch.push_back('\r');
    }
    line = m_scratch;
}

bool LineReader::ReadLine(std::string& line) {
    std::string_view view;
    if (!ReadLine(view)) {
        return false;
    }
    line.assign(view);
    return true;
}

std::vector<std::string> SplitTextModeLines(std::string_view bytes) {
    MemorySource source(bytes);
    LineReader reader(source);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string ToTextModeBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            out.push_back('\r');
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace text
