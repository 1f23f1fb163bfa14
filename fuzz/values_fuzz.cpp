// The per-value commands (angle, split, base) and the line reader under them: any
// bytes on standard input give exactly one output line per input line, whatever the
// encoding rule, and the re-encoding stream keeps the lines of its input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/angle_command.h"
#include "cli/base_command.h"
#include "cli/command_line.h"
#include "cli/split_command.h"
#include "fuzz/fuzz_io.h"

namespace {

// Lines as the line reader counts them: ended by LF, CR LF or a lone CR; a last line
// without its break counts too.
long long lineCount(const std::uint8_t* data, std::size_t size) {
    long long lines = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' || data[i] == '\r') {
            ++lines;
            if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
        }
    }
    if (size > 0 && data[size - 1] != '\n' && data[size - 1] != '\r') ++lines;
    return lines;
}

long long newlines(const std::string& text) {
    long long n = 0;
    for (const char c : text) n += c == '\n';
    return n;
}

const char* const kEncodings[] = {"auto", "utf-8", "gb18030"};
const char* const kUnits[] = {"rad", "deg", "dms"};
const char* const kBases[] = {"2", "8", "10", "16"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t pick = data[0];
    const std::uint8_t detail = data[1];
    data += 2;
    size -= 2;
    const char* encoding = kEncodings[(pick >> 2) % 3];
    std::string out;
    switch (pick & 3) {
        case 0: {
            const char* from = kUnits[detail % 3];
            const char* to = kUnits[(detail % 3 + 1 + (detail / 3) % 2) % 3];
            hc_fuzz::runOn(
                hc::cli::runAngle,
                hc_fuzz::words({"angle", "--from", from, "--to", to, "--encoding", encoding}), data,
                size, &out);
            break;
        }
        case 1:
            hc_fuzz::runOn(hc::cli::runSplit, hc_fuzz::words({"split", "--encoding", encoding}),
                           data, size, &out);
            break;
        case 2:
            hc_fuzz::runOn(hc::cli::runBase,
                           hc_fuzz::words({"base", "--from", kBases[detail % 4], "--to",
                                           kBases[(detail / 4) % 4], "--encoding", encoding}),
                           data, size, &out);
            break;
        default: {
            std::FILE* in = hc_fuzz::openInput(data, size);
            const auto mode = static_cast<hc::cli::InputEncoding>((pick >> 2) % 3);
            std::FILE* recoded = hc::cli::openUtf8Input(in, mode, nullptr, nullptr);
            if (!recoded) std::abort();
            hc::cli::LineReader reader(recoded, hc::cli::InputEncoding::Utf8);
            QString line;
            long long lines = 0;
            while (reader.next(line)) ++lines;
            // Lines that were not passed on whole are the overlong ones only.
            if (reader.refusedLines() != 0 && size <= hc::cli::kMaxLineBytes) std::abort();
            std::fclose(recoded);
            std::fclose(in);
            if (lines != lineCount(data, size)) std::abort();
            return 0;
        }
    }
    if (newlines(out) != lineCount(data, size)) std::abort();
    return 0;
}
