#include "calculator/history.h"

#include <gtest/gtest.h>

#include "engine/number.h"
#include "tests/calculator/print.h"

namespace hc {
namespace {

TEST(FormulaHistory, StartsWithTheEighteenExamples) {
    FormulaHistory h;
    EXPECT_EQ(h.size(), 18);
    EXPECT_EQ(h.current(), 18);
    EXPECT_EQ(exampleFormulas().size(), 18);
    EXPECT_EQ(h.slot(18), QString::fromUtf8("示例   r * s * t * u * v * w * x * y * z "));
    EXPECT_TRUE(h.slot(1).startsWith(QString::fromUtf8("示例  -1。115671/-5.0432123478加")));
    EXPECT_TRUE(h.slot(17).contains(QStringLiteral("167.234567 \\ 234.12")));
    EXPECT_TRUE(h.slot(19).isEmpty());
}

TEST(FormulaHistory, FirstPressShowsTheCurrentSlotThenMovesAndWraps) {
    FormulaHistory h;
    EXPECT_EQ(h.browseBack(), 18);
    EXPECT_EQ(h.browseBack(), 17);
    EXPECT_EQ(h.browseForward(), 18);
    EXPECT_EQ(h.browseForward(), 1);
    EXPECT_EQ(h.browseBack(), 18);
    EXPECT_EQ(h.browseCount(), 5);
}

TEST(FormulaHistory, ClearStoresOnlyTextsAtOrAboveTwelveSpaces) {
    const QString twelve(12, QLatin1Char(' '));
    const std::pair<QString, bool> cases[] = {
        {QString(), false},
        {QString(11, QLatin1Char(' ')), false},
        {twelve, true},
        {QString(20, QLatin1Char(' ')), true},
        {QStringLiteral("   \t1+2"), false},  // first non-space below the space character
        {QStringLiteral("1+2"), true},
        {QStringLiteral("            \t"), true},  // twelve spaces, then anything
    };
    for (const auto& [text, stored] : cases) {
        FormulaHistory h;
        h.browseBack();
        h.browseBack();
        EXPECT_EQ(h.storeOnClear(text), stored) << text.toStdString();
        EXPECT_EQ(h.browseCount(), 0);
        EXPECT_EQ(h.size(), stored ? 19 : 18);
        EXPECT_EQ(h.current(), stored ? 19 : 17);
    }
}

TEST(FormulaHistory, StoredFormulaIsShownByTheNextBrowse) {
    FormulaHistory h;
    ASSERT_TRUE(h.storeOnClear(QStringLiteral("1+2")));
    EXPECT_EQ(h.browseBack(), 19);
    EXPECT_EQ(h.slot(19), "1+2");
    EXPECT_EQ(h.browseForward(), 1);  // 20 is beyond N
}

TEST(FormulaHistory, WrapsToSlotOneAfterSlot999) {
    FormulaHistory h;
    for (int i = 19; i <= 999; ++i) h.storeOnClear(QStringLiteral("f%1").arg(i));
    EXPECT_EQ(h.size(), 999);
    EXPECT_EQ(h.slot(999), "f999");
    ASSERT_TRUE(h.storeOnClear(QStringLiteral("wrapped")));
    EXPECT_EQ(h.size(), 1);
    EXPECT_EQ(h.current(), 1);
    EXPECT_EQ(h.slot(1), "wrapped");
    EXPECT_EQ(h.slot(2), exampleFormulas()[1]);
    // Browsing now only cycles through slot 1; the old slots stay out of range.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(h.browseBack(), 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(h.browseForward(), 1);
    // Slot 1 keeps the reference text of the first example.
    EXPECT_EQ(FormulaHistory::referenceText(1, false), "2.4059120570021821219456683533");
}

TEST(FormulaHistory, BrowseCountStopsAt1000ButBrowsingGoesOn) {
    FormulaHistory h;
    for (int i = 0; i < 1500; ++i) h.browseBack();
    EXPECT_EQ(h.browseCount(), 1000);
    const int before = h.current();
    h.browseBack();
    EXPECT_EQ(h.current(), before == 1 ? 18 : before - 1);
}

TEST(FormulaHistory, ReferenceTextsBelongToSlots) {
    EXPECT_EQ(FormulaHistory::referenceText(18, false), " 362880 ");
    EXPECT_EQ(FormulaHistory::referenceText(17, true),
              QString::fromUtf8("约数        479001558.464642617773159716"));
    EXPECT_EQ(FormulaHistory::referenceText(12, false), " 2.10590514306334E+125");
    EXPECT_NE(FormulaHistory::referenceText(9, false), FormulaHistory::referenceText(9, true));
    EXPECT_TRUE(FormulaHistory::referenceText(9, true).endsWith("-0.149535228019532042793711622"));
    for (int slot : {0, 13, 14, 15, 16, 19, 500, 999}) {
        EXPECT_EQ(FormulaHistory::referenceText(slot, false), " ") << slot;
    }
}

TEST(WindowSettings, DecimalPlaceItemsAndTheirLeadingIntegers) {
    const QStringList items = decimalPlaceItems();
    ASSERT_EQ(items.size(), 29);
    EXPECT_EQ(items[0], QString::fromUtf8("0 位小数"));
    EXPECT_EQ(items[9], QString::fromUtf8("9 位小数"));
    EXPECT_EQ(items[10], QString::fromUtf8("10位小数"));
    EXPECT_EQ(items[28], QString::fromUtf8("28位小数"));
    for (int k = 0; k < 29; ++k) EXPECT_EQ(leadingInteger(items[k]), k);
}

TEST(WindowSettings, AngleUnitCyclesThroughThreeCaptions) {
    AngleStep s;
    ASSERT_TRUE(nextAngleStep(QString::fromUtf8("弧度角"), s));
    EXPECT_EQ(s.caption, QString::fromUtf8("百分度.9999"));
    EXPECT_EQ(s.unit, kDecimalDegrees);
    EXPECT_EQ(s.colour, QColor(255, 192, 255));
    ASSERT_TRUE(nextAngleStep(s.caption, s));
    EXPECT_EQ(s.caption, QString::fromUtf8("度分秒.5959"));
    EXPECT_EQ(s.unit, kPackedDms);
    EXPECT_EQ(s.colour, QColor(192, 255, 255));
    ASSERT_TRUE(nextAngleStep(s.caption, s));
    EXPECT_EQ(s.caption, QString::fromUtf8("弧度角"));
    EXPECT_EQ(s.unit, kRadians);
    EXPECT_EQ(s.colour, QColor(255, 192, 192));
    EXPECT_FALSE(nextAngleStep(QStringLiteral("other"), s));
}

}  // namespace
}  // namespace hc
