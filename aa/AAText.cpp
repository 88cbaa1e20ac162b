#include "aa/AAText.h"

#include "text/TextMode.h"

namespace aa {

namespace {

// CR LF pairs become LF, left to right; a lone CR or LF is kept.
std::string CollapseCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;  // the LF that follows is kept
        }
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

std::string PieceFileBytes(std::string_view editorText) {
    // Collapsing first keeps CR LF from becoming CR CR LF in text mode.
    return text::ToTextModeBytes(CollapseCrLf(editorText));
}

std::string PieceTextFromFileBytes(std::string_view fileBytes) {
    text::MemorySource source(fileBytes);
    text::LineReader reader(source);
    return ReadPieceText([&reader](std::string& line) { return reader.ReadLine(line); });
}

std::string PieceFileBytes(const text::EncodedText& editorText) {
    const std::string_view mark =
        editorText.encoding == text::Encoding::Utf8 ? text::kUtf8ByteOrderMark : "";
    return std::string(mark) + PieceFileBytes(editorText.bytes);
}

text::EncodedText PieceFromFileBytes(std::string_view fileBytes) {
    const text::FileEncoding encoding = text::DetectEncoding(fileBytes);
    return {PieceTextFromFileBytes(text::WithoutByteOrderMark(fileBytes, encoding)),
            encoding.encoding};
}

}  // namespace aa
