#pragma once
// The settings a calculation reads: display decimals, angle unit and the nine
// memory variables. Whoever calculates (a window, a command-line run, a
// benchmark) owns one and passes it in.

#include <array>

#include "engine/num.h"

namespace hc {

// Angle unit codes.
enum AngleUnit : int { kRadians = 3, kDecimalDegrees = 100, kPackedDms = 60 };

struct CalcSettings {
    int displayDecimals = 15;  // 0 ... 28
    AngleUnit angleUnit = kRadians;
    std::array<Num, 9> memory{Num::ofInt(1), Num::ofInt(2), Num::ofInt(3),
                              Num::ofInt(4), Num::ofInt(5), Num::ofInt(6),
                              Num::ofInt(7), Num::ofInt(8), Num::ofInt(9)};  // r ... z
};

}  // namespace hc
