#pragma once
// Shared set-up for the expression tests: a fresh calculation state with the start-up
// settings, and message boxes recorded instead of shown.

#include <gtest/gtest.h>

#include <string>

#include "engine/number.h"
#include "expr/calculate.h"
#include "ui/services.h"

namespace hc {

inline QString q(const char* utf8) { return QString::fromUtf8(utf8); }
inline std::string s(const QString& t) { return t.toStdString(); }

class ExprTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZelChongZhi();
        CalcState& st = calcState();
        st.displayDecimals = 15;
        st.angleUnit = kRadians;
        for (int i = 0; i < 9; ++i) st.memory[i] = Num(i + 1);
    }
    void TearDown() override { SetUp(); }

    // The result of the calculate command before layout.
    static std::string value(const char* formula) { return s(ZelJiSuanSuanShi(q(formula)).value); }

    ui::RecordingServices boxes;
};

}  // namespace hc
