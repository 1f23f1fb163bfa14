#include "expr/normalize.h"

#include <gtest/gtest.h>

namespace hc {
namespace {

struct Case {
    const char* in;
    const char* out;
};

void expectAll(QString (*fn)(const QString&), std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(fn(QString::fromUtf8(c.in)).toStdString(), std::string(c.out))
            << "input: " << c.in;
}

TEST(GuiFanSuanShi, EmptyOrRemovedCharactersGiveZero) {
    expectAll(ZelGuiFanSuanShi, {
                                    {"", "0"},
                                    {"     ", "0"},
                                    {"示例", "0"},
                                    {"==", "0"},
                                    {"？", "0"},
                                    {"+", "0"},
                                    {"***", "0"},
                                    {"\t1+2", "0"},
                                    {"\n1+2", "0"},
                                    {"  \t1+2", "0"},
                                });
}

TEST(GuiFanSuanShi, ChinesePunctuationAndWords) {
    expectAll(ZelGuiFanSuanShi,
              {
                  {"-。11加[2.2-3。3]乘以-2", "-.11+(2.2-3.3)*-2"},
                  {"示例  计算直角三角型的弦长  （r^2 + s^2) ^ 0.5", "3*(r^2+s^2)^0.5"},
                  {"一二三", "123"},
                  {"五十", "5"},
                  {"１２．５除４", "12.5/4"},
                  {"ＳＩＮ（３０）", "sin(30)"},
                  {"7余3", "7\\3"},
                  {"2×3÷4", "2*3/4"},
                  {"〔1〕【2】《3》", "(1)*(2)*(3)"},
                  {"1 = 1", "11"},
                  {"Π", "π"},
                  {"3|4", "3/4"},
              });
}

TEST(GuiFanSuanShi, DoubledLeadingAndTrailingOperators) {
    expectAll(ZelGuiFanSuanShi, {
                                    {"3--2", "3+2"},
                                    {"3-+2", "3-2"},
                                    {"3+-2", "3-2"},
                                    {"3---2", "3-2"},
                                    {"3----2", "3+2"},
                                    {"5**2", "5*2"},
                                    {"1....5", "1.5"},
                                    {"2pi", "2*π"},
                                    {"1+2+", "1+2"},
                                    {"*5", "5"},
                                    {"5.", "5"},
                                    {"3.+4", "3+4"},
                                    {".5", ".5"},
                                    {"2e", "2"},
                                    {")!5", "5"},
                                    {"123.45_____", "123.45"},
                                });
}

TEST(GuiFanSuanShi, ImplicitMultiplication) {
    expectAll(ZelGuiFanSuanShi, {
                                    {"2r", "2*r"},
                                    {"r2", "r*2"},
                                    {"r(1+2)", "r*(1+2)"},
                                    {"sin(30)", "sin(30)"},
                                    {"2sin(1)", "2*sin(1)"},
                                    {"2e5", "2e5"},
                                    {"(1)(2)", "(1)*(2)"},
                                    {"5!2", "5!*2"},
                                    {"2π3", "2*π*3"},
                                    {"ππ", "π*π"},
                                    {"2(1)", "2*(1)"},
                                    {"5%r", "5%*r"},
                                    {"3r4", "3*r*4"},
                                    {"x.5", "x*.5"},
                                    {"2.r", "2*r"},
                                });
}

TEST(GuiFanZiFu, MapsFullWidthAndKeepsEverythingElse) {
    expectAll(ZelGuiFanZiFu, {
                                 {"", ""},
                                 {"１２．５，３", "12.5,3"},
                                 {"12.5 3", "12.5 3"},
                                 {"Ａｂ\t二\n", "Ab\t2\n"},
                                 {"×（）［］｛｝＜＞〈〉", "χ()[]{}<><>"},
                                 {"“引”‘号’＂＇", "\"引\"'号'\"'"},
                                 {"\u3000：｜；", " ::;"},
                                 {"Π∏π", "πππ"},
                                 {"示例", "示例"},
                             });
}

}  // namespace
}  // namespace hc
