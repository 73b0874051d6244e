#include "assets/file_bytes.h"

#include <cstdio>

namespace {
const size_t readChunk = 1 << 20;

// The file's size as a hint for the first read; the read loop still takes what is really there.
size_t sizeHint(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    long size = std::ftell(file);
    std::rewind(file);
    return size > 0 ? size_t(size) : 0;
}
}

bool readFileBytes(const char* path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    size_t want = sizeHint(file) + 1;
    if (want < readChunk) want = readChunk;
    size_t used = 0;
    for (;;) {
        bytes->resize(used + want);
        size_t got = std::fread(bytes->data() + used, 1, want, file);
        used += got;
        if (got < want) break;
        want = readChunk;
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    bytes->resize(used);
    return !failed;
}
