#include "calculator/result_copy.h"

#include <gtest/gtest.h>

#include "expr/calculate.h"
#include "tests/calculator/print.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// Every layout the result box shows comes back as the number that was laid out.
TEST(PlainResult, UndoesTheResultLayout) {
    struct Case {
        const char* value;
        bool approximate;
        int decimals;
    };
    const Case cases[] = {
        {"3.14", false, 15},
        {"42", false, 15},
        {"-0.5", false, 15},
        {"2.5", true, 15},
        {"42", false, 0},
        {"-7", true, 0},
        {"0", false, 28},
        {"2.1E+125", false, 15},
        {"-6.5E-20", true, 3},
        {"1234567890123456789012345678", true, 2},
        {"0.1234567890123456789012345678", false, 28},
    };
    for (const Case& c : cases) {
        const QString shown =
            ZelXianShiJieGuo(QString::fromLatin1(c.value), c.approximate, c.decimals);
        EXPECT_EQ(plainResult(shown), QString::fromLatin1(c.value)) << shown.toStdString();
    }
}

TEST(PlainResult, KeepsTextsThatAreNoNumberAndTheExponentFormShown) {
    const std::pair<const char*, const char*> cases[] = {
        {"3.14E0", "3.14E0"},  // after "F-E"
        {"-6.12345E-8", "-6.12345E-8"},
        {" 362880 ", "362880"},  // reference texts of the history
        {"约数        479001558.464642617773159716", "479001558.464642617773159716"},
        {"  进行[除法]运算时， 1/0 除数为零。", "进行[除法]运算时， 1/0 除数为零。"},
        {"6.29838657043613382880812183  角度用度分秒格式时计算",
         "6.29838657043613382880812183  角度用度分秒格式时计算"},
        {"1.5.", "1.5."},
        {"", ""},
        {" ", ""},
    };
    for (const auto& [shown, plain] : cases) EXPECT_EQ(plainResult(u(shown)), u(plain)) << shown;
}

}  // namespace
}  // namespace hc
