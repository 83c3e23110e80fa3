#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Runs `write` on a stream held in memory and returns the bytes it wrote.
template <typename Writer>
std::string written(Writer write) {
    char* buffer = nullptr;
    std::size_t length = 0;
    FILE* stream = open_memstream(&buffer, &length);
    if (stream == nullptr) return "open_memstream failed";
    write(stream);
    std::fclose(stream);
    std::string text(buffer, length);
    std::free(buffer);
    return text;
}
