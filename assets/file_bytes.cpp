#include "assets/file_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {
const size_t growChunk = 1 << 16;
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
        want = growChunk;
    }
    bool failed = !plain || std::ferror(file) != 0;
    std::fclose(file);
    bytes->resize(used);
    return !failed;
}

FileView::~FileView() {
    if (mapping) munmap(mapping, size);
}

bool viewFile(const char* path, FileView* view) {
    int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat info;
    bool plain = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
    size_t size = plain ? size_t(info.st_size) : 0;
    // Populated at once: one call maps every page instead of one fault per page.
    void* mapping = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0) : MAP_FAILED;
    close(descriptor);
    if (!plain) return false;
    if (mapping == MAP_FAILED) {
        if (!readFileBytes(path, &view->bytes)) return false;
        view->data = view->bytes.data();
        view->size = view->bytes.size();
        return true;
    }
    view->mapping = mapping;
    view->data = static_cast<const uint8_t*>(mapping);
    view->size = size;
    return true;
}
