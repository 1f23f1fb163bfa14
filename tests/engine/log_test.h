#pragma once
// A test with a fresh calculation log of its own, installed for each test.

#include <gtest/gtest.h>

#include <QStringList>

#include "engine/calc_log.h"

namespace hc {

class LogTest : public ::testing::Test {
protected:
    // The texts of the notices recorded so far.
    QStringList notices() const {
        QStringList texts;
        for (const Notice& n : state.notices) texts << n.text;
        return texts;
    }
    ScopedCalcLog scope;
    CalcLog& state = scope.log();
};

}  // namespace hc
