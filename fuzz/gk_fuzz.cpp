// The coordinate batch reader and converter on any bytes: the output of one thread and
// of three threads is the same, byte for byte, with chunks of one to four rows so that
// the threads really share the work; and the command itself ends with status 0 or 1.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "cli/gk_command.h"
#include "fuzz/fuzz_io.h"
#include "survey/coord_conversion.h"
#include "survey/coord_text.h"
#include "survey/gk_batch.h"
#include "survey/survey_settings.h"

namespace {

const char* const kForms[] = {"jw", "6", "3", "1.5"};
const char* const kSeparators[] = {",", " ", ";", "tab"};

struct Run {
    std::string out;
    std::string report;
    hc::GkBatchResult result;
};

Run convert(hc::GkConversion op, const hc::GkSettings& settings, int chunkRows, int jobs,
            const std::uint8_t* data, std::size_t size) {
    std::FILE* in = hc_fuzz::openInput(data, size);
    hc_fuzz::Capture out;
    hc_fuzz::Capture report;
    Run r;
    r.result = hc::convertBatch(op, settings, in, out.file(), chunkRows, report.file(), jobs);
    std::fclose(in);
    r.out = out.close();
    r.report = report.close();
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t pick = data[0];
    const std::uint8_t more = data[1];
    data += 2;
    size -= 2;
    const QString from = QString::fromLatin1(kForms[pick % 4]);
    const QString to = QString::fromLatin1(kForms[(pick / 4) % 4]);
    const std::optional<hc::GkConversion> op =
        hc::conversionBetween(hc::zoneWidthOfCode(from), hc::zoneWidthOfCode(to));
    if (!op) return 0;
    if (more & 0x80) {
        hc_fuzz::runOn(
            hc::cli::runGk,
            hc_fuzz::words({"gk", "--from", kForms[pick % 4], "--to", kForms[(pick / 4) % 4],
                            "--jobs", "1", "--separator", kSeparators[(pick / 16) % 4]}),
            data, size);
        return 0;
    }
    hc::GkSettings settings;
    settings.withNames = (pick & 0x40) == 0;
    settings.separator = hc::separatorOf(QString::fromLatin1(kSeparators[(pick / 16) % 4]));
    const int chunkRows = 1 + more % 4;
    const Run one = convert(*op, settings, chunkRows, 1, data, size);
    const Run three = convert(*op, settings, chunkRows, 3, data, size);
    if (one.out != three.out || one.report != three.report) std::abort();
    if (one.result.rows != three.result.rows || one.result.rejected != three.result.rejected ||
        one.result.skipped != three.result.skipped || one.result.remarks != three.result.remarks)
        std::abort();
    return 0;
}
