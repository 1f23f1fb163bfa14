// Statistics data on any bytes, through the command (every separator and label count)
// and through the data-file decoder: status 0 or 1, never a crash; a decoded file text
// has only CR LF line ends.

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cli/stats_command.h"
#include "fuzz/fuzz_io.h"
#include "tools/data_file.h"

namespace {
const char* const kSeparators[] = {"*", ",", "tab", " ", ";", "|", "-", "/"};
const char* const kLabels[] = {"0", "1", "2", "3"};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t pick = data[0];
    ++data;
    --size;
    if (pick & 0x80) {
        const hc::DataFileText t = hc::decodeDataText(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        if (t.ok == !t.message.isEmpty()) std::abort();
        for (qsizetype i = 0; i < t.text.size(); ++i) {
            if (t.text[i] == u'\n' && (i == 0 || t.text[i - 1] != u'\r')) std::abort();
        }
        return 0;
    }
    hc_fuzz::runOn(hc::cli::runStats,
                   hc_fuzz::words({"stats", "--separator", kSeparators[pick % 8], "--labels",
                                   kLabels[(pick / 8) % 4]}),
                   data, size);
    return 0;
}
