#pragma once
// The readers take paths, so each input is written to a file in this process's own folder.
#include <cstddef>
#include <cstdint>
#include <string>

// What the fuzz build's glmExit throws instead of ending the process.
struct FuzzExit {
    int status;
};

// The path of name in the fuzzer's private folder, in memory where the system offers it.
std::string fuzzPath(const char* name);
// Writes the bytes to name in that folder and returns its path.
std::string writeFuzzFile(const char* name, const uint8_t* data, size_t size);
