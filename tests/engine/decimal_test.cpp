#include "engine/decimal.h"

#include <gtest/gtest.h>

namespace hc {
namespace {

Decimal D(const char* s) { return Decimal::fromText(QString::fromLatin1(s)); }
std::string S(const Decimal& d) { return d.toString().toStdString(); }

TEST(DecimalBasics, Examples) {
    EXPECT_EQ(S(Decimal(1) / Decimal(3)), "0.3333333333333333333333333333");
    EXPECT_EQ(S(Decimal(2) / Decimal(3)), "0.6666666666666666666666666667");
    EXPECT_EQ(S(D("0.1") + D("0.2")), "0.3");
    EXPECT_THROW(D("79228162514264337593543950335") + D("0.5"), DecimalError);
    EXPECT_EQ(S(D("3.14159265358979323846264338327950")), "3.1415926535897932384626433833");
    EXPECT_EQ(S(D("1.5E-20")), "0.000000000000000000015");
    EXPECT_EQ(S(D("1E+28")), "10000000000000000000000000000");
    EXPECT_THROW(D("1E+29"), DecimalError);
    EXPECT_EQ(S(D("1E-29")), "0");
    EXPECT_EQ(S(D("5E-29")), "0");
    EXPECT_EQ(S(D("6E-29")), "0.0000000000000000000000000001");
    EXPECT_EQ(S(Decimal::max()), "79228162514264337593543950335");
    EXPECT_EQ(S(D("-0.250")), "-0.25");
    EXPECT_EQ(S(D("100")), "100");
    EXPECT_EQ(S(Decimal::fromDouble(0.1)), "0.1");
    EXPECT_EQ(D("1.50"), D("1.5"));
    EXPECT_DOUBLE_EQ(D("0.1").toDouble(), 0.1);
}

}  // namespace
}  // namespace hc
