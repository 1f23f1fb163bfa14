#pragma once
// Shared set-up for the expression tests: a fresh log and the start-up settings.

#include <gtest/gtest.h>

#include <string>

#include "engine/number.h"
#include "expr/calculate.h"

namespace hc {

inline QString q(const char* utf8) { return QString::fromUtf8(utf8); }
inline std::string s(const QString& t) { return t.toStdString(); }

class ExprTest : public ::testing::Test {
protected:
    void SetUp() override { ZelChongZhi(); }
    void TearDown() override { ZelChongZhi(); }

    // The result of the calculate command before layout.
    std::string value(const char* formula) const {
        return s(ZelJiSuanSuanShi(q(formula), settings).value);
    }

    CalcSettings settings;  // decimals 15, radians, r ... z = 1 ... 9
};

}  // namespace hc
