#pragma once
// The readers take paths, so each input is written to a file in this process's own folder.
#include <cstdint>
#include <string>

struct FuzzExit {  // what the fuzz build's glmExit throws instead of ending the process
    int status;
};

std::string fuzzPath(const char* name);  // in the folder, made in memory where the system offers it
std::string writeFuzzFile(const char* name, const uint8_t* data, size_t size);  // returns its path
