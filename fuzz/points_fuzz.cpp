// The point-list commands (bearing, attitude) on any bytes: a result or a message,
// status 0 or 1, never a crash.

#include <cstddef>
#include <cstdint>

#include "cli/attitude_command.h"
#include "cli/bearing_command.h"
#include "fuzz/fuzz_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t pick = data[0];
    ++data;
    --size;
    switch (pick % 5) {
        case 0:
            hc_fuzz::runOn(hc::cli::runBearing, hc_fuzz::words({"bearing"}), data, size);
            break;
        case 1:
            hc_fuzz::runOn(hc::cli::runBearing, hc_fuzz::words({"bearing", "--geographic"}), data,
                           size);
            break;
        case 2:
            hc_fuzz::runOn(hc::cli::runBearing, hc_fuzz::words({"bearing", "--origin", "1"}), data,
                           size);
            break;
        case 3:
            hc_fuzz::runOn(hc::cli::runAttitude, hc_fuzz::words({"attitude"}), data, size);
            break;
        default:
            hc_fuzz::runOn(hc::cli::runAttitude, hc_fuzz::words({"attitude", "--start", "1"}), data,
                           size);
            break;
    }
    return 0;
}
