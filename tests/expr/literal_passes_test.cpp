// The normaliser, validator and evaluator against the literal ones of
// tests/expr/reference_*.cpp, which rebuild their text after every change: on random
// formulas, well-formed, malformed and typed with Chinese and full-width characters, on
// bracket-free texts and on the fuzzer corpus, texts, results, messages, error counts
// and logs must be the same. HC_DIFF_CASES sets how many random formulas are
// tried (default 3000), HC_DIFF_SEED the seed (default fixed).

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "engine/calc_log.h"
#include "expr/evaluate.h"
#include "expr/normalize.h"
#include "expr/validate.h"
#include "tests/expr/reference_evaluate.h"
#include "tests/expr/reference_text_passes.h"

namespace hc {
namespace {

struct Outcome {
    QString value;
    int errorCount = 0;
    QString firstMessage;
    QString lastMessage;
    QString errorLog;
    int precisionLimit = 0;
    QStringList notices;

    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "value=" << o.value.toStdString() << " errors=" << o.errorCount
              << " limit=" << o.precisionLimit << " first=" << o.firstMessage.toStdString()
              << " log=" << o.errorLog.toStdString()
              << " notices=" << o.notices.join(u'|').toStdString();
}

Outcome capture(const std::function<QString()>& run) {
    ScopedCalcLog scope;
    Outcome o;
    o.value = run();
    const CalcLog& st = scope.log();
    o.errorCount = st.errorCount;
    o.firstMessage = st.firstMessage;
    o.lastMessage = st.lastMessage;
    o.errorLog = st.errorLog;
    o.precisionLimit = st.precisionLimit;
    for (const Notice& n : st.notices) o.notices << n.text;
    return o;
}

// Normalises and validates like the calculate command, then evaluates: with the
// in-place passes, or with the literal ones when `literal` is set. The value holds the
// normalised and the spaced text as well.
Outcome whole(const QString& formula, const CalcSettings& settings, bool literal) {
    return capture([&] {
        const QString normalised =
            literal ? reference::ZelGuiFanSuanShi(formula) : ZelGuiFanSuanShi(formula);
        const QString spaced =
            literal ? reference::ZelFenJieBiaoDaShi(normalised) : ZelFenJieBiaoDaShi(normalised);
        const QString texts = normalised + u'|' + spaced + u'|';
        if (calcLog().errorCount > 0) return texts + QStringLiteral("Error");
        return texts + (literal ? reference::ZelBiaoDaShiJiSuan(spaced, settings)
                                : ZelBiaoDaShiJiSuan(spaced, settings));
    });
}

void expectSame(const QString& formula, const CalcSettings& settings) {
    EXPECT_EQ(whole(formula, settings, false), whole(formula, settings, true))
        << "formula: " << formula.toStdString();

    // The same text given straight to each pass, without the checks before it.
    const Outcome rawMine = capture([&] { return ZelBiaoDaShiJiSuan(formula, settings); });
    const Outcome rawLiteral =
        capture([&] { return reference::ZelBiaoDaShiJiSuan(formula, settings); });
    EXPECT_EQ(rawMine, rawLiteral) << "raw formula: " << formula.toStdString();

    const Outcome kMine = capture([&] { return ZelKBiaoDaShiJiSuan(formula, settings); });
    const Outcome kLiteral =
        capture([&] { return reference::ZelKBiaoDaShiJiSuan(formula, settings); });
    EXPECT_EQ(kMine, kLiteral) << "bracket-free text: " << formula.toStdString();

    const Outcome spacedMine = capture([&] { return ZelFenJieBiaoDaShi(formula); });
    const Outcome spacedLiteral = capture([&] { return reference::ZelFenJieBiaoDaShi(formula); });
    EXPECT_EQ(spacedMine, spacedLiteral) << "validated as given: " << formula.toStdString();

    EXPECT_EQ(ZelJianHuaBiaoDaShi(formula).toStdString(),
              reference::ZelJianHuaBiaoDaShi(formula).toStdString())
        << "simplified: " << formula.toStdString();
    EXPECT_EQ(ZelJianHuaBiaoDaShi2(formula).toStdString(),
              reference::ZelJianHuaBiaoDaShi2(formula).toStdString())
        << "simplified fully: " << formula.toStdString();
    // Texts of their own, which the simplifiers edit in place.
    EXPECT_EQ(ZelJianHuaBiaoDaShi(QString(formula.constData(), formula.size())).toStdString(),
              reference::ZelJianHuaBiaoDaShi(formula).toStdString())
        << "simplified in place: " << formula.toStdString();
    EXPECT_EQ(ZelJianHuaBiaoDaShi2(QString(formula.constData(), formula.size())).toStdString(),
              reference::ZelJianHuaBiaoDaShi2(formula).toStdString())
        << "simplified fully in place: " << formula.toStdString();
}

int envInt(const char* name, int byDefault) {
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : byDefault;
}

// Random formulas: a well-formed expression tree, or a run of formula characters and
// names with nothing to hold it together.
class FormulaMaker {
public:
    explicit FormulaMaker(unsigned seed) : rng_(seed) {}

    QString wellFormed(int depth = 0) {
        const int kind = pick(depth > 3 ? 3 : 9);
        switch (kind) {
            case 0:
            case 1:
            case 2:
                return number();
            case 3:
                return u'(' + wellFormed(depth + 1) + u')';
            case 4:
                return wellFormed(depth + 1) + op() + wellFormed(depth + 1);
            case 5:
                return fn() + u'(' + wellFormed(depth + 1) + u')';
            case 6:
                return wellFormed(depth + 1) + (pick(2) ? u'!' : u'%');
            case 7:
                return QString(QChar(char16_t(u'r' + pick(9))));
            default:
                return (pick(2) ? QStringLiteral("-") : QStringLiteral("+")) +
                       wellFormed(depth + 1);
        }
    }

    QString junk() {
        static const char16_t* const kPieces[] = {u"0",      u"1",
                                                  u"2",      u"7",
                                                  u"9",      u".",
                                                  u"e",      u"E",
                                                  u"+",      u"-",
                                                  u"*",      u"/",
                                                  u"\\",     u"^",
                                                  u"!",      u"%",
                                                  u"(",      u")",
                                                  u" ",      u"π",
                                                  u"ε",      u"r",
                                                  u"z",      u"x",
                                                  u"sin",    u"cos",
                                                  u"arctan", u"lg",
                                                  u"ln",     u"sh",
                                                  u"cth",    u"1e28",
                                                  u"1e-5",   u"99999999999999",
                                                  u"0.5",    u"--",
                                                  u"+-",     u"q",
                                                  u"（",     u"加",
                                                  u"三",     u"×"};
        QString s;
        const int n = 1 + pick(30);
        for (int i = 0; i < n; ++i) s += QString::fromUtf16(kPieces[pick(int(std::size(kPieces)))]);
        return s;
    }

    // Text as typed: Chinese punctuation, numerals and operator words, full-width and
    // upper-case letters, runs of spaces, doubled operators and stray characters.
    QString typed() {
        static const char16_t* const kPieces[] = {
            u"1",    u"2.5",    u"０",  u"９",     u"三",  u"点",  u"。", u"．",        u"、",
            u" ",    u"\u3000", u"  ",  u"加",     u"减",  u"乘",  u"除", u"余",        u"×",
            u"÷",    u"＋",     u"－",  u"—",      u"±",   u"_",   u"*",  u"**",        u"//",
            u"--",   u"-+",     u"+-",  u"..",     u"!!",  u"%%",  u"^",  u"＾",        u"（",
            u"）",   u"【",     u"】",  u"<",      u">",   u"{",   u"}",  u"[",         u"]",
            u"《",   u"》",     u"(",   u")",      u"pi",  u"PI",  u"π",  u"Π",         u"ε",
            u"e",    u"E5",     u"e-3", u"Ｓｉｎ", u"SIN", u"cos", u"x",  u"R",         u"ｚ",
            u"q",    u"=",      u"？",  u"≈",      u"：",  u"|",   u"\\", u"!",         u"%",
            u"示例", u"十",     u"\t",  u"é",      u"İ",   u"ß",   u"Σ",  u"\U0001D400"};
        QString s;
        const int n = pick(40);
        for (int i = 0; i < n; ++i) s += QString::fromUtf16(kPieces[pick(int(std::size(kPieces)))]);
        return s;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    QString number() {
        static const char* const kNumbers[] = {"0",    "1",     "2",      "3.5",  "0.25", "10",
                                               "1e3",  "2e-5",  "12.125", "26",   "27",   ".5",
                                               "1e28", "1e-28", "7",      "4.75", "100",  "30"};
        return QString::fromLatin1(kNumbers[pick(int(std::size(kNumbers)))]);
    }
    QChar op() { return QChar(u"+-*/\\^"[pick(6)]); }
    QString fn() {
        static const char* const kNames[] = {"sin", "cos",    "tan", "cot",   "arcsin", "arctan",
                                             "sh",  "ch",     "th",  "lg",    "ln",     "sec",
                                             "csc", "arccos", "cth", "arccot"};
        return QString::fromLatin1(kNames[pick(int(std::size(kNames)))]);
    }

    std::mt19937 rng_;
};

CalcSettings settingsFor(int i) {
    CalcSettings s;
    s.displayDecimals = (i * 7) % 29;
    s.angleUnit = i % 3 == 0 ? kRadians : i % 3 == 1 ? kDecimalDegrees : kPackedDms;
    return s;
}

TEST(LiteralPasses, RandomWellFormedAndMalformedFormulas) {
    const int cases = envInt("HC_DIFF_CASES", 3000);
    const auto seed = unsigned(envInt("HC_DIFF_SEED", 20261210));
    FormulaMaker make(seed);
    for (int i = 0; i < cases && !HasFailure(); ++i) {
        const CalcSettings settings = settingsFor(i);
        expectSame(make.wellFormed(), settings);
        expectSame(make.junk(), settings);
    }
}

TEST(LiteralPasses, RandomTypedFormulas) {
    const int cases = envInt("HC_DIFF_CASES", 3000);
    FormulaMaker make(unsigned(envInt("HC_DIFF_SEED", 20261210)) + 1);
    for (int i = 0; i < cases && !HasFailure(); ++i) expectSame(make.typed(), settingsFor(i));
}

TEST(LiteralPasses, BracketChecks) {
    FormulaMaker make(11);
    for (int i = 0; i < 500; ++i) {
        const QString s = make.junk();
        for (qsizetype from = 0; from <= s.size() + 1; ++from)
            for (qsizetype end : {from, from + 1, s.size() - 1, s.size(), s.size() + 2}) {
                const Outcome mine =
                    capture([&] { return QString::number(bracketsPair(s, from, end)); });
                const Outcome literal =
                    capture([&] { return QString::number(reference::bracketsPair(s, from, end)); });
                EXPECT_EQ(mine, literal) << s.toStdString() << " from " << from << " to " << end;
            }
    }
}

TEST(LiteralPasses, ChosenCases) {
    // Chains that each phase rewrites many times, and the failures that quote the
    // working text as it stands.
    for (const char* f : {"1+1+1+1+1+1",
                          "2^3^2^1^1",
                          "8/4/2/1*3*4\\5",
                          "-5!+3!-4!*2%",
                          "1/0+2",
                          "2*3/0",
                          "((((1+2))))*(3)",
                          "sin(cos(tan(1)))+lg(100)",
                          "1e28*1e28+1",
                          "27!+1",
                          "5-2^2",
                          "-3^-2",
                          "4\\-3",
                          "1e3+1-2e-5-3",
                          "2e",
                          "1..2+3",
                          "1+2e5e5",
                          "x(1)",
                          "q+1",
                          "(1+2",
                          "1)+(2",
                          "1+--2",
                          "3-+-+2",
                          "1e-5-1e-5-1e-5",
                          "99999999999999999999999999999*10",
                          "sin",
                          "arcsin(2)",
                          "ln(-1)+1",
                          "0^-1",
                          "1+2)",
                          "()",
                          " ",
                          ""}) {
        for (int i = 0; i < 3; ++i) expectSame(QString::fromUtf8(f), settingsFor(i));
    }
}

TEST(LiteralPasses, IntegerSumChains) {
    // The sum phase carries integers below 2^53 as machine integers: chains across that
    // bound and back, through 0, with operands of 15 and 16 digits, leading zeros, and
    // operands that only start like an integer (a point, an exponent, a letter, a
    // character that is not ASCII).
    const QString big = QStringLiteral("+900719925474099");
    const QString down = QStringLiteral("-900719925474099");
    for (const QString& f : {
             big.repeated(12) + down.repeated(12) + QStringLiteral("+1"),
             QStringLiteral("4503599627370495+4503599627370496+1-1-1"),
             QStringLiteral("9007199254740991+1-1"),
             QStringLiteral("1+9007199254740993-9007199254740993"),
             QStringLiteral("123456789012345+1+1234567890123456+1"),
             QStringLiteral("5-5+3-3-4+4"),
             QStringLiteral("0+0-0+1"),
             QStringLiteral("-7-8+15-1"),
             QStringLiteral("007+1+0012-00"),
             QStringLiteral("1+2.5+3-.5+4.+5"),
             QStringLiteral("5-2.5+1"),
             QStringLiteral("1+2e3+4-5E1+6e-2+7"),
             QStringLiteral("5-1e1+1"),
             QStringLiteral("2+3e+1+1"),
             QStringLiteral("1+99999999999999999999999999999+1-1"),
             QStringLiteral("79228162514264337593543950335+1+1"),
             QStringLiteral("1+-2--3+-+4"),
             QStringLiteral("1 + 2 +3+ 4"),
             QStringLiteral("1+2é+3"),
             QStringLiteral("1+2x+3"),
             QStringLiteral("1+2+3%+4!"),
             QStringLiteral("12+34+"),
             QStringLiteral("-1-2-3"),
         }) {
        for (int i = 0; i < 3; ++i) expectSame(f, settingsFor(i));
    }
}

TEST(LiteralPasses, FuzzerCorpus) {
    const std::filesystem::path dir =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" /
        "corpus";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        QFile f(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        for (int i = 0; i < 3; ++i) expectSame(text, settingsFor(i));
        ++files;
    }
    EXPECT_GT(files, 0);
}

TEST(LiteralPasses, Scanners) {
    FormulaMaker make(7);
    for (int i = 0; i < 500; ++i) {
        const QString s = make.junk();
        for (qsizetype p = -1; p <= s.size() + 1; ++p) {
            const Outcome back = capture([&] { return ZelXiangQianQuShuZi(s, p); });
            const Outcome backLiteral =
                capture([&] { return reference::ZelXiangQianQuShuZi(s, p); });
            EXPECT_EQ(back, backLiteral) << s.toStdString() << " at " << p;
            const Outcome ahead = capture([&] { return ZelXiangHouQuShuZi(s, p); });
            const Outcome aheadLiteral =
                capture([&] { return reference::ZelXiangHouQuShuZi(s, p); });
            EXPECT_EQ(ahead, aheadLiteral) << s.toStdString() << " at " << p;
        }
    }
}

TEST(LiteralPasses, LongFormulas) {
    // Long enough for many replacements in one text, short enough for the literal one.
    QString sum = QStringLiteral("1");
    QString product = QStringLiteral("1");
    QString nested;
    QString mix;
    for (int i = 0; i < 2000; ++i) {
        sum += i % 3 ? QStringLiteral("+1") : QStringLiteral("-0.5");
        product += i % 2 ? QStringLiteral("*1.001") : QStringLiteral("/1.001");
        nested += QStringLiteral("(1+");
        mix += QStringLiteral("sin(30)+２×3!-50%\\7+（1.5-0.25）÷2+lg(100)*cos(0.5)-");
    }
    nested += u'1' + QString(2000, u')');
    mix += u'1';
    for (const QString& f : {sum, product, nested, mix}) expectSame(f, settingsFor(1));
}

}  // namespace
}  // namespace hc
