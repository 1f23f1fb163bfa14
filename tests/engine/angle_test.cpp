#include "engine/angle.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <ostream>
#include <vector>

#include "engine/calc_log.h"
#include "engine/number.h"
#include "tests/engine/log_test.h"
#include "engine/number_routines.h"

namespace hc {

// Readable Decimal values in failure messages.
inline void PrintTo(const Decimal& d, std::ostream* os) { *os << d.toString().toStdString(); }

namespace {

using AngleUnitTest = LogTest;

Decimal dec(const char* text) { return Decimal::fromText(QString::fromUtf8(text)); }

const QString kSecondsBox = QStringLiteral(
    " 度分秒格式的角度数据--[秒] 数据不能大于60！超出后按60计算。请检查是否角度类型选择错误。");
const QString kMinutesBox = QStringLiteral(
    " 度分秒格式的角度数据--[分秒] "
    "数据不能大于59599999....！超出后按60计算。请检查是否角度类型选择错误。");

TEST_F(AngleUnitTest, PackedToDecimalDegrees) {
    struct Case {
        const char* packed;
        const char* degrees;
    };
    const std::vector<Case> cases = {
        {"45.595999", "45.999997222222222222222222222"},
        {"12.3", "12.5"},
        {"-12.3", "-12.5"},
        {"-0.3", "-0.5"},
        {"12", "12"},
        {"-7", "-7"},
        {"0", "0"},
        {"", "0"},
        {"12.305", "12.513888888888888888888888889"},
        {"0.0001", "0.0002777777777777777777777778"},
        {"-0.00005", "-0.0001388888888888888888888889"},
        {"359.5959", "359.99972222222222222222222222"},
        {"1E+30", "0"},
        {"1E-30", "0"},
    };
    for (const Case& c : cases) {
        const Num r = ZelDuZhuanTiDu(Num::ofText(c.packed));
        ASSERT_TRUE(r.isDecimal()) << c.packed;
        EXPECT_EQ(r.decimal(), dec(c.degrees)) << c.packed << " gave " << r.text().toStdString();
    }
    EXPECT_TRUE(notices().isEmpty());
}

TEST_F(AngleUnitTest, SecondsOrMinutesAboveSixtyAreTakenAsSixty) {
    // 75 seconds: computed with 60, giving 12 deg 31 min.
    const Num seconds = ZelDuZhuanTiDu(Num::ofText("12.3075"));
    EXPECT_EQ(seconds.decimal(), dec("12.516666666666666666666666667"));
    EXPECT_EQ(notices(), QStringList{QStringLiteral("12.3075") + kSecondsBox});

    state.notices.clear();
    const Num minutes = ZelDuZhuanTiDu(Num::ofText("12.7"));
    EXPECT_EQ(minutes.text(), QStringLiteral("13"));
    EXPECT_EQ(notices(), QStringList{QStringLiteral("12.7") + kMinutesBox});

    // Both checks fire for 12.9999: 99 seconds, then 99 + 1 minutes.
    state.notices.clear();
    EXPECT_EQ(ZelDuZhuanTiDu(Num::ofText("-12.9999")).text(), QStringLiteral("-13"));
    EXPECT_EQ(notices(), (QStringList{QStringLiteral("-12.9999") + kSecondsBox,
                                      QStringLiteral("-12.9999") + kMinutesBox}));
    // The message boxes are no failures, and the calculation went on.
    EXPECT_EQ(state.errorCount, 0);
}

TEST_F(AngleUnitTest, DecimalDegreesToPacked) {
    struct Case {
        const char* degrees;
        const char* packed;
    };
    const std::vector<Case> cases = {
        {"12.5", "12.3"},
        {"-12.5", "-12.3"},
        {"-0.5", "-0.3"},
        {"12", "12"},
        {"12.5001388888888888888888888889", "12.30005"},
        {"45.999997222222222222222222222", "45.595999"},
        {"0.0002777777777777777777777778", "0.0001"},
        {"10.1", "10.06"},
        // Seconds that round to 60 carry into the minutes, and minutes into degrees.
        {"12.0166666666666666666666666666", "12.01"},
        {"-0.9999999999999999999999999999", "-1"},
        {"0.9999999999999999999999999999", "1"},
        {"7.0166666666666666666666666667", "7.01"},
        {"1E+30", "0"},
    };
    for (const Case& c : cases) {
        const Num r = ZelTiDuZhuanDu(Num::ofText(c.degrees));
        ASSERT_TRUE(r.isDecimal()) << c.degrees;
        EXPECT_EQ(r.decimal(), dec(c.packed)) << c.degrees << " gave " << r.text().toStdString();
    }
    EXPECT_EQ(state.errorCount, 0);
}

TEST_F(AngleUnitTest, RoundTripOfValidPackedAngles) {
    for (const char* packed : {"45.595999", "12.3", "-12.3", "0.0001", "359.5959", "-0.000001",
                               "89.5959999999", "1.0203", "-123.4507891"}) {
        const Num degrees = ZelDuZhuanTiDu(Num::ofText(packed));
        const Num back = ZelTiDuZhuanDu(degrees);
        ASSERT_TRUE(back.isDecimal()) << packed;
        EXPECT_LE((back.decimal() - dec(packed)).abs(), dec("1E-24")) << packed;
    }
    EXPECT_TRUE(notices().isEmpty());
}

TEST_F(AngleUnitTest, UnitToRadians) {
    EXPECT_EQ(ZelDanWeiZhuanHuDu(Num::ofText("1.25"), kRadians).text(), QStringLiteral("1.25"));
    // Right angles give the quarter-turn constants, not the products with pi/180.
    EXPECT_EQ(ZelDanWeiZhuanHuDu(Num::ofInt(180), kDecimalDegrees).text(),
              QStringLiteral("3.1415926535897932384626433833"));
    EXPECT_EQ(ZelDanWeiZhuanHuDu(Num::ofInt(90), kPackedDms).text(),
              QStringLiteral("1.5707963267948966192313216916"));
    EXPECT_EQ(ZelDanWeiZhuanHuDu(Num::ofInt(45), kDecimalDegrees).text(),
              QStringLiteral("0.7853981633974483096156608465"));
    EXPECT_EQ(ZelDanWeiZhuanHuDu(Num::ofText("12.3"), kPackedDms).decimal(),
              dec("12.5") * dec("0.0174532925199432957692369077"));
    EXPECT_EQ(ZelDanWeiZhuanHuDu(Num::ofText("1E+40"), kPackedDms).text(), QStringLiteral("0"));
    EXPECT_EQ(ZelDuZhuanHuDu(Num::ofInt(90)).text(),
              QStringLiteral("1.570796326794896619231321693"));
    EXPECT_EQ(ZelDuZhuanHuDu(Num::ofText("-1E-35")).text(), QStringLiteral("0"));
    EXPECT_EQ(state.errorCount, 0);
}

}  // namespace
}  // namespace hc
