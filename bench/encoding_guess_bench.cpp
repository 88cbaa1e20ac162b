// How often the encoding guess takes a Shift-JIS file for UTF-8 (the goal is
// never): over the Shift-JIS files named on the command line (the project's
// generated dictionaries, the old starter, the shared test data's), and over
// a large body of random Shift-JIS Japanese text of every kind (kana, kanji,
// full- and half-width forms, symbols, NEC and IBM codes, ASCII), texts of
// 1 to 64 characters. Prints how many were taken for UTF-8 and the shortest.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "text/Encoding.h"

namespace {

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// One random Shift-JIS character of the kind `kind` picks.
void AppendCharacter(std::mt19937& random, std::string& text) {
    const auto pick = [&](int low, int high) {
        return static_cast<char>(low + static_cast<int>(random() % (high - low + 1)));
    };
    // A trail byte of 0x40-0xFC but 0x7F.
    const auto trail = [&] {
        char byte;
        do {
            byte = pick(0x40, 0xFC);
        } while (byte == '\x7F');
        return byte;
    };
    switch (random() % 10) {
        case 0:
            text += pick(0x20, 0x7E);
            break;  // ASCII
        case 1:
            text += pick(0xA1, 0xDF);
            break;  // half-width kana
        case 2:
            text += '\x82';
            text += pick(0x9F, 0xF1);
            break;  // hiragana
        case 3:
            text += '\x83';
            text += pick(0x40, 0x96);
            break;  // katakana
        case 4:
            text += '\x81';
            text += pick(0x40, 0xAC);
            break;  // symbols
        case 5:
            text += '\x82';
            text += pick(0x4F, 0x9A);
            break;  // full-width Latin
        case 6:
            text += pick(0x88, 0x9F);
            text += trail();
            break;  // kanji, level 1
        case 7:
            text += pick(0xE0, 0xEA);
            text += trail();
            break;  // kanji, level 2
        case 8:
            text += '\x87';
            text += pick(0x40, 0x9C);
            break;  // NEC row 13
        default:    // IBM: NEC-selected (ED, EE) and IBM's own (FA-FC)
            text += random() % 2 ? pick(0xED, 0xEE) : pick(0xFA, 0xFC);
            text += trail();
            break;
    }
}

bool TakenForUtf8(const std::string& bytes) {
    return text::DetectEncoding(bytes).encoding == text::Encoding::Utf8;
}

}  // namespace

int main(int argc, char** argv) {
    int filesTaken = 0;
    for (int i = 1; i < argc; ++i) {
        const bool taken = TakenForUtf8(ReadFile(argv[i]));
        filesTaken += taken;
        std::printf("%s: %s\n", argv[i], taken ? "taken for UTF-8" : "Shift-JIS");
    }
    std::printf("files: %d of %d taken for UTF-8\n", filesTaken, argc - 1);

    constexpr int kTexts = 1000000;
    std::mt19937 random(1);
    int taken = 0;
    std::size_t shortest = 0;
    std::string example;
    int longestTaken = 0;  // in characters
    for (int n = 0; n < kTexts; ++n) {
        std::string text;
        const int characters = 1 + static_cast<int>(random() % 64);
        for (int i = 0; i < characters; ++i) {
            AppendCharacter(random, text);
        }
        if (TakenForUtf8(text)) {
            ++taken;
            longestTaken = std::max(longestTaken, characters);
            if (shortest == 0 || text.size() < shortest) {
                shortest = text.size();
                example = text;
            }
        }
    }
    std::printf("random texts of 1 to 64 characters: %d of %d taken for UTF-8", taken, kTexts);
    if (taken > 0) {
        std::printf(", none longer than %d characters", longestTaken);
        std::printf("; the shortest %zu bytes:", shortest);
        for (const unsigned char byte : example) {
            std::printf(" %02X", byte);
        }
    }
    std::printf("\n");
    return 0;
}
