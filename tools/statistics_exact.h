#pragma once
// The exact figures of one numeric column, shared by the whole-table statistics and
// the streaming ones: what a column keeps and how its nine shown texts are made.

#include <gmpxx.h>

#include <QString>
#include <array>

#include "engine/num.h"

namespace hc {

// What the statistics of one column need: the count of entries, the exact sum and sum
// of squared deviations from the mean of their number texts, and the smallest and
// largest value as the number reader reads the texts.
struct ExactColumnSums {
    long count = 0;
    mpq_class sum = 0;
    mpq_class squaredDeviations = 0;
    Num minimum;
    Num maximum;
};

// a < b on the numeric values (Decimals exactly, else as doubles); throws DecimalError
// when either is no number.
bool statLessThan(const Num& a, const Num& b);

// The Decimal that the canonical text of d reads back as: no trailing fraction zeros,
// no negative zero.
Decimal canonicalDecimal(const Decimal& d);

// Rows 2-10 of the column (see exactColumnStatistics); " " everywhere when count < 1.
std::array<QString, 9> exactStatisticsText(const ExactColumnSums& sums, int decimals);

}  // namespace hc
