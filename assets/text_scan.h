#pragma once
// Token and number scanning over a file held in memory, for the OBJ and MTL readers.
// Tokens are whitespace-separated, as the model files are written; a line is
// everything up to its line feed, and a last line may lack one.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

const size_t kMaxTokenLength = 127;

struct TextCursor {
    const char* at;
    const char* end;
};

// Whitespace as the C library's isspace sees it: blank, tab, CR, vertical tab, form feed,
// and the line feed, which only isSpace counts. Tested as bits of one mask, since the
// readers ask for every character of a model.
const uint64_t kBlankBits = (1ull << ' ') | (1ull << '\t') | (1ull << '\r') | (1ull << '\v') | (1ull << '\f');
const uint64_t kSpaceBits = kBlankBits | (1ull << '\n');

inline bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' ' && (kBlankBits >> c) & 1; }
inline bool isSpace(char c) { return static_cast<unsigned char>(c) <= ' ' && (kSpaceBits >> c) & 1; }
inline bool isDigit(char c) { return unsigned(c - '0') < 10u; }

// A whitespace-separated word as it stands in the text.
struct Token {
    const char* start;
    size_t length;
};

// Moves past the next token and returns it; its length is 0 at the end of the text.
inline Token nextWord(TextCursor* text) {
    const char* p = text->at;
    while (p < text->end && isSpace(*p)) ++p;
    const char* start = p;
    while (p < text->end && !isSpace(*p)) ++p;
    text->at = p;
    return Token{start, size_t(p - start)};
}

// Reads the next token into token (NUL-terminated); a longer token is cut at
// kMaxTokenLength characters and the rest of it dropped. Returns its length, 0 at the end.
inline size_t nextToken(TextCursor* text, char (&token)[kMaxTokenLength + 1]) {
    Token word = nextWord(text);
    size_t length = word.length < kMaxTokenLength ? word.length : kMaxTokenLength;
    std::memcpy(token, word.start, length);
    token[length] = '\0';
    return length;
}

// Moves past the current line's line feed.
inline void skipLine(TextCursor* text) {
    if (text->at == text->end) return;
    const void* lineFeed = std::memchr(text->at, '\n', size_t(text->end - text->at));
    text->at = lineFeed ? static_cast<const char*>(lineFeed) + 1 : text->end;
}

// The rest of the current line without its line feed, and moves past the line.
inline std::string restOfLine(TextCursor* text) {
    const char* start = text->at;
    skipLine(text);
    const char* stop = text->at;
    if (stop > start && stop[-1] == '\n') --stop;
    return std::string(start, stop);
}

// The first whitespace-separated word of a line's text, or "".
inline std::string firstWord(const std::string& line) {
    size_t start = 0;
    while (start < line.size() && isSpace(line[start])) ++start;
    size_t stop = start;
    while (stop < line.size() && !isSpace(line[stop])) ++stop;
    return line.substr(start, stop - start);
}

// Reads a decimal whole number after any whitespace, saturating at the 32-bit range.
// Returns false, consuming only the whitespace, when no digit follows.
inline bool scanInt(TextCursor* text, int32_t* value) {
    const char* p = text->at;
    const char* end = text->end;
    while (p < end && isSpace(*p)) ++p;
    text->at = p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    if (p == end || !isDigit(*p)) return false;
    const uint64_t limit = negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX);
    while (p < end && *p == '0') ++p;
    // Ten digits fit the 64-bit sum many times over; a longer number saturates.
    const char* significant = p;
    uint64_t magnitude = 0;
    for (; p < end && isDigit(*p); ++p) magnitude = magnitude * 10 + uint64_t(*p - '0');
    if (p - significant > 10) magnitude = limit;
    magnitude = std::min(magnitude, limit);
    *value = negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
    text->at = p;
    return true;
}

// Consumes the literal characters when they come next, with no whitespace before them.
inline bool scanLiteral(TextCursor* text, const char* literal) {
    const char* p = text->at;
    for (; *literal; ++literal, ++p) {
        if (p >= text->end || *p != *literal) {
            text->at = p;
            return false;
        }
    }
    text->at = p;
    return true;
}

// A float as strtof reads it, for what from_chars leaves out: a leading '+', hex digits,
// and values beyond the float range, which become infinity or zero. Reads from a bounded
// copy of the word, so it never looks past the text.
inline bool scanFloatAsStrtof(TextCursor* text, float* value) {
    char copy[kMaxTokenLength + 1];
    size_t length = 0;
    for (const char* p = text->at; p < text->end && !isSpace(*p) && length < kMaxTokenLength; ++p) copy[length++] = *p;
    copy[length] = '\0';
    char* stop = nullptr;
    float parsed = std::strtof(copy, &stop);
    if (stop == copy) return false;
    *value = parsed;
    text->at += stop - copy;
    return true;
}

// Reads one float from the text of the current line (blanks before it, no line feed).
// from_chars rounds once, exactly, as strtof does.
inline bool scanLineFloat(TextCursor* text, float* value) {
    const char* p = text->at;
    while (p < text->end && isBlank(*p)) ++p;
    text->at = p;
    const char* digits = p < text->end && *p == '-' ? p + 1 : p;
    bool hex = text->end - digits >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    if (!hex) {
        std::from_chars_result read = std::from_chars(p, text->end, *value);
        if (read.ec == std::errc()) {
            text->at = read.ptr;
            return true;
        }
    }
    return scanFloatAsStrtof(text, value);
}

// Reads up to count floats from the current line into values (missing ones are left
// as they are), then moves past the line, so a value line never reaches the next line.
inline void readLineFloats(TextCursor* text, float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!scanLineFloat(text, &values[i])) break;
    }
    skipLine(text);
}
