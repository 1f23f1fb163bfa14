#pragma once
// Batch coordinate conversion: a data text of any length is read line by line and
// the output block of one of the ten conversions is written as it goes, so memory
// stays bounded. The work of "hechuan-cli gk" (cli/gk_command.cpp).

#include <cstdio>

#include "survey/coord_conversion.h"

namespace hc {

struct GkBatchResult {
    long long rows = 0;      // rows written; 0 means no data (nothing written)
    long long rejected = 0;  // of them, points a conversion rejected (zeroed, error remark)
    long long skipped = 0;   // lines that looked like data but gave no row
    QString remarks;         // order and longitude remarks of the data, "" when none
};

// Rows are converted in chunks of `chunkRows`; the name column is padded to the
// widest name of its chunk, and for geographic input the column order is decided
// on the first chunk. Each line that looks like data but gives no row is reported to
// `report` (when given) as "第 N 行未能读取: <reason>" and a line, N counting from 1;
// so is each finding of coordRowNotices (coord_text.h) on a row read, as its own line.
// The chunks are converted on `jobs` threads (1: on the calling thread); the output
// is the same for any number.
GkBatchResult convertBatch(GkConversion op, const GkSettings& settings, std::FILE* in,
                           std::FILE* out, int chunkRows = 4096, std::FILE* report = nullptr,
                           int jobs = 1);

}  // namespace hc
