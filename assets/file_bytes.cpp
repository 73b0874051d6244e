#include "assets/file_bytes.h"

#include <sys/stat.h>

#include <cstdio>

namespace {
const size_t kGrowChunk = 1 << 16;
}

bool readFileBytes(const char* path, FileBytes* bytes) {
    bytes->clear();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    // Only plain files: a folder opens on some systems but has no bytes and no honest size.
    struct stat info;
    bool plain = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    size_t size = plain ? size_t(info.st_size) : 0;
    // One byte more than the size, so a file that grew since fstat is still read to its end.
    size_t want = size + 1;
    size_t used = 0;
    while (plain) {
        bytes->resize(used + want);
        size_t got = std::fread(bytes->data() + used, 1, want, file);
        used += got;
        if (got < want) break;
        want = kGrowChunk;
    }
    bool failed = !plain || std::ferror(file) != 0;
    std::fclose(file);
    bytes->resize(used);
    return !failed;
}
