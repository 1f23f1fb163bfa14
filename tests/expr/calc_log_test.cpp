// The log of one evaluation: scoped installation, nesting, and one default log
// per thread; number values that are failures.

#include "engine/calc_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/angle.h"
#include "engine/number_routines.h"
#include "expr/calculate.h"

namespace hc {
namespace {

TEST(ScopedCalcLog, InstallsAFreshLogAndRestoresThePrevious) {
    CalcLog& outer = calcLog();
    ZelChongZhi();
    outer.report(QStringLiteral("outer"));
    {
        ScopedCalcLog first;
        EXPECT_EQ(&calcLog(), &first.log());
        EXPECT_EQ(calcLog().errorCount, 0);
        EXPECT_EQ(calcLog().precisionLimit, 29);
        ZelShuZhuanShu(Num::ofText(QStringLiteral("abc")));
        {
            ScopedCalcLog second;
            EXPECT_EQ(&calcLog(), &second.log());
            calcLog().limitTo(15);
            calcLog().notify(QStringLiteral("inner"));
            ZelChongZhi();  // resets the inner log only
        }
        EXPECT_EQ(&calcLog(), &first.log());
        EXPECT_EQ(first.log().errorCount, 1);
        EXPECT_EQ(first.log().precisionLimit, 29);
        EXPECT_TRUE(first.log().notices.isEmpty());
    }
    EXPECT_EQ(&calcLog(), &outer);
    EXPECT_EQ(outer.errorCount, 1);
    EXPECT_EQ(outer.firstMessage, QStringLiteral("outer"));
    ZelChongZhi();
}

TEST(ScopedCalcLog, ThreadsNeverShareALog) {
    // Each thread fails on every second formula; its results must match its own
    // formulas only, however the threads interleave.
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    const CalcSettings settings;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &settings, &mismatches] {
            for (int i = 0; i < kRounds; ++i) {
                const bool fail = (i + t) % 2 == 0;
                const CalcResult r = ZelJiSuanSuanShi(
                    fail ? QStringLiteral("1/0") : QStringLiteral("2*3"), settings);
                if (r.failed != fail || (!fail && r.value != QStringLiteral("6"))) ++mismatches;
                // The thread's own default log sees only its own reports.
                ZelChongZhi();
                if (fail) ZelShuZhuanShu(Num::ofText(QStringLiteral("x")));
                if (calcLog().errorCount != (fail ? 1 : 0)) ++mismatches;
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(NumFailure, ShowsAndComputesAsItsTextButAnswersIsFailure) {
    for (const char* text : {"", "0", "-1", "error"}) {
        const Num f = Num::failure(QString::fromLatin1(text));
        const Num t = Num::ofText(QString::fromLatin1(text));
        EXPECT_TRUE(f.isFailure()) << text;
        EXPECT_FALSE(t.isFailure()) << text;
        EXPECT_TRUE(f.isText());
        EXPECT_EQ(f.kind(), Num::Kind::Text);
        EXPECT_EQ(f.text(), t.text());
        EXPECT_EQ(f.rawText(), t.rawText());
        EXPECT_EQ(ZelShuZhuanShu(f).text(), ZelShuZhuanShu(t).text());
    }
    ZelChongZhi();
    for (const Num& n : {Num(), Num::ofInt(0), Num::ofDouble(0), Num::ofDecimal(Decimal()),
                         Num::ofText(QStringLiteral("0"))})
        EXPECT_FALSE(n.isFailure());
}

TEST(NumFailure, RoutinesAnswerWhetherTheyFailed) {
    ScopedCalcLog scope;
    EXPECT_TRUE(ZelShuZhuanShu(Num::ofText(QStringLiteral("abc"))).isFailure());
    EXPECT_FALSE(ZelShuZhuanShu(Num::ofText(QStringLiteral("0"))).isFailure());
    // Nothing readable is the integer 0, not a failure.
    EXPECT_FALSE(ZelChuanZhuanShu(Num::ofText(QStringLiteral("abc"))).isFailure());
    EXPECT_EQ(scope.log().errorCount, 1);
}

TEST(Notices, ComeBackWithTheCalculationInTheirOrder) {
    CalcSettings settings;
    settings.angleUnit = kPackedDms;
    ZelChongZhi();
    const CalcResult r =
        ZelJiSuanSuanShi(QStringLiteral("sin(12.3075)+cth(0)+cos(12.7)"), settings);
    ASSERT_EQ(r.notices.size(), 3);
    EXPECT_TRUE(r.notices[0].text.startsWith(QStringLiteral("12.3075 度分秒格式的角度数据--[秒]")));
    EXPECT_EQ(r.notices[1].text, QStringLiteral("cth(x)为无穷大，采用近似计算....1E+28。"));
    EXPECT_TRUE(r.notices[2].text.startsWith(QStringLiteral("12.7 度分秒格式的角度数据--[分秒]")));
    for (const Notice& n : r.notices) {
        EXPECT_EQ(n.buttons, NoticeButtons::Ok);
        EXPECT_TRUE(n.title.isEmpty());
    }
    EXPECT_TRUE(calcLog().notices.isEmpty());  // the caller's log is left alone
    EXPECT_TRUE(ZelJiSuanSuanShi(QStringLiteral("1+1"), settings).notices.isEmpty());
}

// What engine routines report comes back as a value, and the caller's log is neither
// read nor written: a failure or a lowered precision already in it changes nothing.
TEST(CheckedCall, HandsBackWhatTheRoutinesReportedAndLeavesTheCallerAlone) {
    ScopedCalcLog caller;
    caller.log().report(QStringLiteral("earlier"));
    caller.log().limitTo(10);

    struct Case {
        const char* what;
        QString text;
        bool packed;  // read as a packed angle (seconds above 60 give a notice)
        int failures;
        int notices;
        QString value;
    };
    const Case cases[] = {
        {"a number", QStringLiteral("12.5"), false, 0, 0, QStringLiteral("12.5")},
        {"no number", QStringLiteral("abc"), false, 1, 0, QString()},
        {"seconds above 60", QStringLiteral("12.3075"), true, 0, 1, QString()},
    };
    for (const Case& c : cases) {
        EngineReport report;
        const Num v = checkedCall(
            [&] {
                const Num n = ZelShuZhuanShu(Num::ofText(c.text));
                return c.packed ? ZelDuZhuanTiDu(n) : n;
            },
            report);
        EXPECT_EQ(report.failures, c.failures) << c.what;
        EXPECT_EQ(report.ok(), c.failures == 0) << c.what;
        EXPECT_EQ(report.notices.size(), c.notices) << c.what;
        EXPECT_EQ(report.precisionLimit, 29) << c.what;
        if (!c.value.isEmpty()) {
            EXPECT_EQ(v.text(), c.value) << c.what;
        }
        EXPECT_EQ(report.firstMessage.isEmpty(), c.failures == 0) << c.what;
    }
    EXPECT_EQ(&calcLog(), &caller.log());
    EXPECT_EQ(caller.log().errorCount, 1);
    EXPECT_EQ(caller.log().firstMessage, QStringLiteral("earlier"));
    EXPECT_EQ(caller.log().precisionLimit, 10);
    EXPECT_TRUE(caller.log().notices.isEmpty());
}

TEST(CheckedCall, ReportsAlsoWhenTheCallThrows) {
    EngineReport report;
    CalcLog* inside = nullptr;
    EXPECT_THROW(checkedCall(
                     [&] {
                         inside = &calcLog();
                         calcLog().report(QStringLiteral("before the throw"));
                         calcLog().notify(QStringLiteral("told"));
                         throw std::runtime_error("stop");
                     },
                     report),
                 std::runtime_error);
    EXPECT_NE(inside, &calcLog());  // the call's own log is gone again
    EXPECT_EQ(report.failures, 1);
    EXPECT_EQ(report.firstMessage, QStringLiteral("before the throw"));
    ASSERT_EQ(report.notices.size(), 1);
    EXPECT_EQ(report.notices[0].text, QStringLiteral("told"));
}

}  // namespace
}  // namespace hc
