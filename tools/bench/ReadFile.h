#pragma once

#include <cstdio>
#include <optional>
#include <string>

// The whole content of a file, for the benchmark programs that take a reply
// from one; nothing when it cannot be opened.
inline std::optional<std::string> readFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, n);
    std::fclose(file);
    return bytes;
}
