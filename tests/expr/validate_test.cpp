#include "expr/validate.h"

#include "expr_testing.h"

namespace hc {
namespace {

using ValidateTest = ExprTest;

TEST_F(ValidateTest, SpacesOperatorsAndInsertsProducts) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"1+2", " 1 + 2 "},
        {"2*(3+4)", " 2 *  ( 3 + 4 )  "},
        {"sin(30)", " sin ( 30 )  "},
        {"2(3)", " 2 *  ( 3 )  "},
        {"2x", " 2 * x "},
        {"1e+5-2", " 1e+5 - 2 "},
        {"5!2", " 5! * 2 "},
        {"(2)3", "  ( 2 )  * 3 "},
        {"(1)(2)", "  ( 1 )  *  ( 2 )  "},
        {"2*-3", " 2 * -3 "},
        {"2π3", " 2 * π * 3 "},
        {"ππ", " π * π "},
        {"2sin(1)", " 2 * sin ( 1 )  "},
        {"  ABC ", " abc "},
    };
    for (const auto& c : cases) {
        ZelChongZhi();
        EXPECT_EQ(s(ZelFenJieBiaoDaShi(q(c.in))), c.out) << c.in;
        EXPECT_EQ(calcLog().errorCount, 0) << c.in;
    }
}

TEST_F(ValidateTest, EmptyFormulaIsZero) {
    for (const char* in : {"", "   ", "空算式错误", "\t1+2"})
        EXPECT_EQ(s(ZelFenJieBiaoDaShi(q(in))), "0") << in;
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(ValidateTest, AdjacentOperatorsAreCountedAndLoggedOnce) {
    const QString message = q(" 算式中存在多个运算符相临的错误，请修改算式。");
    const struct {
        const char* in;
        int errors;
    } cases[] = {{"*5", 1},   {"e5", 1},   {"2.x", 1}, {"1*/2", 2},
                 {"(*2)", 2}, {"(2+)", 2}, {"()", 2}};
    for (const auto& c : cases) {
        ZelChongZhi();
        EXPECT_EQ(s(ZelFenJieBiaoDaShi(q(c.in))), " " + std::string(c.in) + " ");
        const CalcLog& st = calcLog();
        EXPECT_EQ(st.errorCount, c.errors) << c.in;
        EXPECT_EQ(st.errorLog, message + QStringLiteral("\r\n")) << c.in;
        EXPECT_EQ(st.lastMessage, message) << c.in;
        // With two or more errors the message is not the first message.
        EXPECT_EQ(st.firstMessage, c.errors == 1 ? message : QString()) << c.in;
    }
}

TEST_F(ValidateTest, SignsAfterOperatorsAreValid) {
    for (const char* in : {"-3", "(-3)", "2*-3", "3^-2", "x*-2", "3%", "-(2)", "1.5e-3"}) {
        ZelChongZhi();
        ZelFenJieBiaoDaShi(q(in));
        EXPECT_EQ(calcLog().errorCount, 0) << in;
    }
}

TEST_F(ValidateTest, BracketErrorsStopAtTheFirstBadPosition) {
    const QString order = q(" 算式--括号顺序--错误,请修改。");
    const QString pairing = q(" 算式--括号无法配对--错误,请修改。");
    const struct {
        const char* in;
        const QString& message;
    } cases[] = {
        {"(1+2", order}, {")1+2(", order}, {"1+2)", pairing}, {"((1)", order}, {"(1))", pairing}};
    for (const auto& c : cases) {
        ZelChongZhi();
        ZelFenJieBiaoDaShi(q(c.in));
        EXPECT_EQ(calcLog().errorCount, 1) << c.in;
        EXPECT_EQ(calcLog().firstMessage, c.message) << c.in;
        EXPECT_EQ(calcLog().errorLog, c.message + QStringLiteral("\r\n")) << c.in;
    }
}

TEST_F(ValidateTest, SimplifiersCollapseSignPairs) {
    const struct {
        const char* in;
        const char* partial;
        const char* full;
    } cases[] = {
        {"5-+3", "5-3", "5-3"},
        {"5++3", "5+3", "5+3"},
        {"5--3", "5--3", "5+3"},
        {"5+-3", "5+-3", "5-3"},
        {" 1 + 2 ", "1+2", "1+2"},
        {"5+++-+3", "5+-3", "5-3"},
        {"1\u3000-\u3000-2", "1--2", "1+2"},
        {"", "0", "0"},
        {"E5", "e5", "e5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(s(ZelJianHuaBiaoDaShi(q(c.in))), c.partial) << c.in;
        EXPECT_EQ(s(ZelJianHuaBiaoDaShi2(q(c.in))), c.full) << c.in;
    }
    EXPECT_EQ(calcLog().errorCount, 0);
}

}  // namespace
}  // namespace hc
