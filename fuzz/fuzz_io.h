#pragma once
// Streams for the fuzz targets: the input bytes as a readable FILE, output kept in
// memory or thrown away.

#include <stdio.h>

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "cli/command_line.h"

namespace hc_fuzz {

// A FILE reading `size` bytes at `data`; an empty input reads as an empty file.
inline std::FILE* openInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return fopen("/dev/null", "r");
    return fmemopen(const_cast<std::uint8_t*>(data), size, "r");
}

// Everything written to the FILE, available after close().
class Capture {
public:
    Capture() : file_(open_memstream(&buffer_, &size_)) {}
    ~Capture() {
        close();
        std::free(buffer_);
    }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    std::FILE* file() const { return file_; }
    std::string close() {
        if (file_) {
            std::fclose(file_);
            file_ = nullptr;
        }
        return buffer_ ? std::string(buffer_, size_) : std::string();
    }

private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

// Runs a subcommand on the input bytes; its output and messages are kept and returned
// in `out` and `err`. Aborts when it returns anything but 0 or 1 (2 is for usage
// errors, which fixed arguments never make).
inline int runOn(hc::cli::Runner run, const QStringList& args, const std::uint8_t* data,
                 std::size_t size, std::string* out = nullptr, std::string* err = nullptr) {
    std::FILE* in = openInput(data, size);
    if (!in) std::abort();
    Capture o;
    Capture e;
    const int status = run(args, hc::cli::Streams{in, o.file(), e.file()});
    std::fclose(in);
    const std::string written = o.close();
    const std::string said = e.close();
    if (out) *out = written;
    if (err) *err = said;
    if (status != 0 && status != 1) std::abort();
    return status;
}

inline QStringList words(std::initializer_list<const char*> list) {
    QStringList args;
    for (const char* a : list) args << QString::fromUtf8(a);
    return args;
}

}  // namespace hc_fuzz
