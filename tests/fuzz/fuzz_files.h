#pragma once
// The readers take paths, so each input is written to a file of this process's own folder.
#include <cstddef>
#include <cstdint>
#include <string>

// The path of name in the fuzzer's private folder (made on first use).
std::string fuzzPath(const char* name);
// Writes the bytes to name in that folder and returns its path.
std::string writeFuzzFile(const char* name, const uint8_t* data, size_t size);
