#pragma once
// Token and number scanning over a file held in memory, for the OBJ and MTL readers.
// Tokens are whitespace-separated, as the model files are written; a line is
// everything up to its line feed, and a last line may lack one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

const size_t maxTokenLength = 127;

struct TextCursor {
    const char* at;
    const char* end;
};

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
inline bool isSpace(char c) { return isBlank(c) || c == '\n'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the next token into token (NUL-terminated); a longer token is cut at
// maxTokenLength characters and the rest of it dropped. Returns its length, 0 at the end.
inline size_t nextToken(TextCursor* text, char (&token)[maxTokenLength + 1]) {
    const char* p = text->at;
    while (p < text->end && isSpace(*p)) ++p;
    size_t length = 0;
    while (p < text->end && !isSpace(*p)) {
        if (length < maxTokenLength) token[length++] = *p;
        ++p;
    }
    token[length] = '\0';
    text->at = p;
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
    while (p < text->end && isSpace(*p)) ++p;
    text->at = p;
    bool negative = false;
    if (p < text->end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    if (p >= text->end || !isDigit(*p)) return false;
    int64_t magnitude = 0;
    for (; p < text->end && isDigit(*p); ++p) {
        if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (*p - '0');
    }
    if (magnitude > INT32_MAX) magnitude = negative ? int64_t(INT32_MAX) + 1 : INT32_MAX;
    *value = int32_t(negative ? -magnitude : magnitude);
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

// Reads one float from the text of the current line (blanks before it, no line feed).
// Plain decimals are converted directly; anything else (exponents of many digits,
// inf, nan, hex) goes through strtod on a bounded copy.
inline bool scanLineFloat(TextCursor* text, float* value) {
    const char* p = text->at;
    while (p < text->end && isBlank(*p)) ++p;
    text->at = p;
    const char* start = p;
    bool negative = false;
    if (p < text->end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    for (; p < text->end && isDigit(*p); ++p, ++digits) mantissa = mantissa * 10 + uint64_t(*p - '0');
    if (p < text->end && *p == '.') {
        for (++p; p < text->end && isDigit(*p); ++p, ++digits) {
            mantissa = mantissa * 10 + uint64_t(*p - '0');
            --exponent;
        }
    }
    bool plain = digits > 0 && digits <= 18 && (p >= text->end || isSpace(*p));
    if (plain) {
        static const double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9,
                                        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
        double magnitude = double(mantissa) / powers[-exponent];
        *value = float(negative ? -magnitude : magnitude);
        text->at = p;
        return true;
    }
    char copy[maxTokenLength + 1];
    size_t length = 0;
    for (p = start; p < text->end && !isSpace(*p) && length < maxTokenLength; ++p) copy[length++] = *p;
    copy[length] = '\0';
    char* stop = nullptr;
    double parsed = std::strtod(copy, &stop);
    if (stop == copy) return false;
    *value = float(parsed);
    text->at = start + (stop - copy);
    return true;
}

// Reads up to count floats from the current line into values (missing ones are left
// as they are), then moves past the line, so a value line never reaches the next line.
inline void readLineFloats(TextCursor* text, float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!scanLineFloat(text, &values[i])) break;
    }
    skipLine(text);
}
