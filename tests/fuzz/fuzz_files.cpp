#include "tests/fuzz/fuzz_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {
std::string& folder() {
    static std::string dir;
    return dir;
}

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
}
}  // namespace

std::string fuzzPath(const char* name) {
    // In memory where the system offers it: a disk file per input would cost more than the reading.
    static std::string dir = [] {
        char inMemory[] = "/dev/shm/gorvanka_fuzz.XXXXXX";
        char onDisk[] = "/tmp/gorvanka_fuzz.XXXXXX";
        const char* made = mkdtemp(inMemory);
        if (!made) made = mkdtemp(onDisk);
        if (!made) std::abort();
        folder() = made;
        std::atexit(removeFolder);
        return std::string(made);
    }();
    return dir + "/" + name;
}

std::string writeFuzzFile(const char* name, const uint8_t* data, size_t size) {
    std::string path = fuzzPath(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}
