#pragma once
// Whole-file reads for the asset readers: every reader parses from memory.
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

// Leaves new bytes unset: the file's contents overwrite them at once, and models run
// to tens of megabytes.
template <typename T>
struct UnsetAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    template <typename U>
    void construct(U* at) {
        ::new (static_cast<void*>(at)) U;
    }
};

using FileBytes = std::vector<uint8_t, UnsetAllocator<uint8_t>>;

// Reads the file into bytes. False when it cannot be opened or read (a folder included).
bool readFileBytes(const char* path, FileBytes* bytes);

// A whole file held for reading, mapped from the system's file cache where it can be:
// a model of tens of megabytes is then neither copied nor faulted into a fresh buffer,
// which was half the time of reading one. Files the system cannot map, and files that
// report no size, are read into bytes instead. The game's files do not change while they
// are read; one cut short by another program meanwhile would fault on its lost pages.
struct FileView {
    const uint8_t* data = nullptr;
    size_t size = 0;
    void* mapping = nullptr;
    FileBytes bytes;  // the contents when the file is not mapped
    FileView() = default;
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView();
};

// Maps or reads the file into view. False when it cannot be opened or read (a folder included).
bool viewFile(const char* path, FileView* view);

// Little-endian fields at an offset the caller has checked lies inside the buffer.
inline uint16_t readLe16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t readLe32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
