#include "tools/decomposition.h"

#include <gtest/gtest.h>

#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

TEST(Decomposition, Examples) {
    const struct {
        const char* input;
        const char* integer;
        const char* fraction;
    } cases[] = {
        {"12.75", "12", "75"},   {"-3.25", "-3", "25"},
        {"-0.5", "-0", "5"},     {"8", "8", "0"},
        {"", "0", "0"},          {"abc", "0", "0"},
        {" 1.50 ", "1", "5"},    {"1E+30", "1E+30", "0"},
        {"1E-30", "0", "1E-30"}, {"-1E-30", "-0", "-1E-30"},
    };
    for (const auto& c : cases) {
        const Decomposition d = decomposeNumber(QString::fromUtf8(c.input));
        EXPECT_EQ(d.integerPart, QString::fromUtf8(c.integer)) << c.input;
        EXPECT_EQ(d.fractionPart, QString::fromUtf8(c.fraction)) << c.input;
    }
}

}  // namespace
}  // namespace hc
