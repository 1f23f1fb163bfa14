#pragma once
// Temporary files standing in for standard input and output in tests.

#include <cstdio>
#include <string>

// All bytes of `f`, read from its start.
inline std::string readAll(std::FILE* f) {
    std::string s;
    std::rewind(f);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    return s;
}

// A temporary file holding `bytes`, positioned at its start.
inline std::FILE* fileWith(const std::string& bytes) {
    std::FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    return f;
}
