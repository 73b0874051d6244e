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
// The bytes are the reader's own copy: a file that another program cuts short or
// rewrites meanwhile gives a short or mixed read, never a fault.
bool readFileBytes(const char* path, FileBytes* bytes);

// Little-endian fields at an offset the caller has checked lies inside the buffer.
inline uint16_t readLe16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t readLe32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
