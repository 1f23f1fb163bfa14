// Base conversions: the listed examples, the failure convention, malformed input,
// and thousands of random values against exact rational arithmetic (GMP).

#include "tools/base_conversion.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "tools/base_calculator.h"

namespace hc {
namespace {

using Conversion = QString (*)(const QString&, BaseNotes&);
QString shiZhuanEr(const QString& t, BaseNotes& notes) { return ZelShiZhuanEr(t, notes); }

struct Example {
    const char* name;
    Conversion convert;
    const char* input;
    const char* expected;
};

TEST(BaseConversion, ListedExamples) {
    const Example examples[] = {
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "101.1", "5.8"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "11111", "1F"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "-1010", "-A"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, ".1", ".8"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "0001", "1"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "00001", "01"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "1.", "1"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "0.0010001", "0.22"},  // short zero group: no digit
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "0.10000", "0.8"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "  110  ", "6"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "", "0"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "abc", "0"},
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "12", "1"},   // the scan stops at 2
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "--1", "-"},  // a second "-" ends the scan
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, "1-1", "1"},
        {"ShiLiuZhuanEr", ZelShiLiuZhuanEr, "A.8", "1010.1000"},
        {"ShiLiuZhuanEr", ZelShiLiuZhuanEr, "1f", "00011111"},
        {"ShiLiuZhuanEr", ZelShiLiuZhuanEr, "-F", "-1111"},
        {"ShiLiuZhuanEr", ZelShiLiuZhuanEr, "1G2", "0001"},
        {"ShiLiuZhuanEr", ZelShiLiuZhuanEr, "0", "0000"},
        {"ShiLiuZhuanEr", ZelShiLiuZhuanEr, "", "0"},
        {"ErZhuanBa", ZelErZhuanBa, "1010", "12"},
        {"ErZhuanBa", ZelErZhuanBa, "0001111", "17"},
        {"ErZhuanBa", ZelErZhuanBa, "000", "0"},
        {"ErZhuanBa", ZelErZhuanBa, "0.1", "0.4"},
        {"ErZhuanBa", ZelErZhuanBa, "-1.01", "-1.2"},
        {"ErZhuanBa", ZelErZhuanBa, "000.1", "0.4"},     // "000." keeps its zeros
        {"ErZhuanBa", ZelErZhuanBa, "000000111", "07"},  // only one "000" goes
        {"BaZhuanEr", ZelBaZhuanEr, "17", "001111"},
        {"BaZhuanEr", ZelBaZhuanEr, "0.4", "000.100"},
        {"BaZhuanEr", ZelBaZhuanEr, "7a", "111"},  // no case folding: "a" ends the scan
        {"ErZhuanShi", ZelErZhuanShi, "101.1", "5.5"},
        {"ErZhuanShi", ZelErZhuanShi, "-11", "-3"},
        {"ErZhuanShi", ZelErZhuanShi, "1.0.1", "1.125"},
        {"ErZhuanShi", ZelErZhuanShi, "", "0"},
        {"ErZhuanShi", ZelErZhuanShi, "-", "-0"},
        {"ErZhuanShi", ZelErZhuanShi, "0.0000000000000000000000000001",
         "0.0000000037252902984619140625"},
        {"ShiZhuanEr", shiZhuanEr, "5.5", "101.1"},
        {"ShiZhuanEr", shiZhuanEr, "-0.5", "-0.1"},
        {"ShiZhuanEr", shiZhuanEr, "10", "1010"},
        {"ShiZhuanEr", shiZhuanEr, "255", "11111111"},
        {"ShiZhuanEr", shiZhuanEr, "0", "0"},
        {"ShiZhuanEr", shiZhuanEr, "   ", "0"},
        {"ShiZhuanEr", shiZhuanEr, "-0", "0"},
        {"ShiZhuanEr", shiZhuanEr, "1e3", "1111101000"},
    };
    for (const Example& e : examples) {
        BaseNotes notes;
        EXPECT_EQ(e.convert(QString::fromUtf8(e.input), notes), QString::fromUtf8(e.expected))
            << e.name << " of " << e.input;
        EXPECT_EQ(notes.failures, 0) << e.name << " of " << e.input;
        EXPECT_TRUE(notes.notices.isEmpty()) << e.name << " of " << e.input;
    }
}

TEST(BaseConversion, DecimalFractionTakesAtMost92Bits) {
    BaseNotes notes;
    const QString bits = ZelShiZhuanEr(QStringLiteral("0.1"), notes);
    EXPECT_TRUE(bits.startsWith(QLatin1String("0.0001100110011"))) << bits.toStdString();
    EXPECT_LE(bits.size(), 2 + 92);
    EXPECT_TRUE(bits.endsWith(u'1'));
}

struct Failing {
    const char* name;
    Conversion convert;
    const char* input;
    const char* message;
};

TEST(BaseConversion, FailuresGiveMinusOneANoticeAndOneError) {
    const Failing failing[] = {
        {"ErZhuanShiLiu", ZelErZhuanShiLiu, " 1.0.1 ",
         "由二进制转换为十六进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"ErZhuanBa", ZelErZhuanBa, "1.0.1",
         "由二进制转换为八进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"ShiLiuZhuanEr", ZelShiLiuZhuanEr, "A.B.C",
         "由十六进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"BaZhuanEr", ZelBaZhuanEr, "19",
         "由八进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"BaZhuanEr", ZelBaZhuanEr, "1A",
         "由八进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"BaZhuanEr", ZelBaZhuanEr, "1.2.3",
         "由八进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"ShiZhuanEr", shiZhuanEr, "abc",
         "由十进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"ShiZhuanEr", shiZhuanEr, "79228162514264337593543950336",
         "由十进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
        {"ShiZhuanEr", shiZhuanEr, "1.0.1",
         "由十进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"},
    };
    for (const Failing& f : failing) {
        BaseNotes notes;
        EXPECT_EQ(f.convert(QString::fromUtf8(f.input), notes), "-1")
            << f.name << " of " << f.input;
        EXPECT_EQ(notes.failures, 1) << f.name << " of " << f.input;
        ASSERT_EQ(notes.notices.size(), 1) << f.name << " of " << f.input;
        const Notice& n = notes.notices[0];
        EXPECT_EQ(n.text, QStringLiteral("把数") + QString::fromUtf8(f.input).trimmed() +
                              QString::fromUtf8(f.message));
        EXPECT_EQ(n.buttons, NoticeButtons::Ok);
        EXPECT_TRUE(n.title.isEmpty());
    }
}

TEST(BaseConversion, BinaryToDecimalFailsFromTheNinetySeventhBitOn) {
    const QString top = QStringLiteral("1") + QString(95, u'0');  // 2^95
    {
        BaseNotes notes;
        EXPECT_EQ(ZelErZhuanShi(top, notes), "39614081257132168796771975168");
        EXPECT_EQ(ZelErZhuanShi(QString(96, u'1'), notes), "79228162514264337593543950335");
        EXPECT_EQ(ZelShiZhuanEr(QStringLiteral("79228162514264337593543950335"), notes),
                  QString(96, u'1'));
        EXPECT_EQ(ZelErZhuanShi(QString(200, u'0') + u'1', notes), "1");  // leading zeros are fine
        EXPECT_EQ(notes.failures, 0);
    }
    BaseNotes notes;
    EXPECT_EQ(ZelErZhuanShi(u'1' + top, notes), "-1");
    EXPECT_EQ(notes.failures, 1);
    EXPECT_EQ(notes.notices.size(), 1);
}

TEST(BaseConversion, BitwiseNotInvertsDigitsAndSign) {
    const std::pair<const char*, const char*> cases[] = {
        {"5", "-2"},    {"-5", "2"}, {"12", "-3"}, {"0", "-1"},
        {"1", "-0"},    {"8", "-7"}, {"-8", "7"},  {"2.5", "-1"},  // 10.1 -> -01.0
        {"0.75", "-1"},                                            // 0.11 -> -1.00
    };
    for (const auto& [in, out] : cases) {
        BaseNotes notes;
        EXPECT_EQ(ZelLuoJiFei(QString::fromLatin1(in), notes), QString::fromLatin1(out)) << in;
        EXPECT_EQ(notes.failures, 0) << in;
    }
    BaseNotes notes;
    ZelLuoJiFei(QStringLiteral("xyz"), notes);
    EXPECT_GT(notes.failures, 0);
}

TEST(BaseConversion, KeyEntryScanners) {
    struct Case {
        const char* text;
        int minus, points, digits;
    };
    const Case cases[] = {
        {"", 0, 0, 0},           {"-12.5", 1, 1, 3},
        {"  -1.2e-5 ", 1, 1, 2}, {"1.5E-3.2", 0, 1, 2},
        {"--1", 2, 0, 1},        {"1 2+3", 0, 0, 3},
        {"12AB34", 0, 0, 2},     {"1.2.3", 0, 2, 3},
        {"-.", 1, 1, 0},         {"123456789012345678901234567890", 0, 0, 30},
    };
    for (const Case& c : cases) {
        const QString t = QString::fromLatin1(c.text);
        EXPECT_EQ(ZelJianHaoShu(t), c.minus) << c.text;
        EXPECT_EQ(ZelDianHaoShu(t), c.points) << c.text;
        EXPECT_EQ(ZelYouXiao019ChangDu(t), c.digits) << c.text;
    }
    EXPECT_EQ(ZelQuFuHao(QStringLiteral(" -12 ")), "12");
    EXPECT_EQ(ZelQuFuHao(QStringLiteral("--1")), "-1");
    EXPECT_EQ(ZelQuFuHao(QStringLiteral("5")), "5");
}

TEST(BaseConversion, MalformedInputNeverHangsOrThrows) {
    const QString longBinary = QString(10000, u'1');
    const QString longFraction = QStringLiteral("1.") + QString(10000, u'1');
    QString controls = QStringLiteral("1");
    controls += QChar(0);
    controls += QStringLiteral("1\t1\x01\r\n");
    const QString inputs[] = {longBinary,
                              longFraction,
                              controls,
                              QStringLiteral("--1"),
                              QStringLiteral("1.0.1"),
                              QStringLiteral("ff.ee"),
                              QString(10000, u'F'),
                              QString(10000, u'7'),
                              QStringLiteral("１２３"),
                              QStringLiteral("-."),
                              QStringLiteral(".")};
    Conversion all[] = {ZelErZhuanShiLiu, ZelShiLiuZhuanEr, ZelErZhuanBa, ZelBaZhuanEr,
                        ZelErZhuanShi,    shiZhuanEr,       ZelLuoJiFei};
    for (const QString& in : inputs) {
        for (Conversion c : all) {
            BaseNotes notes;
            const QString out = c(in, notes);
            EXPECT_LE(out.size(), 4 * in.size() + 2);
        }
    }
    BaseNotes notes;
    EXPECT_EQ(ZelErZhuanShiLiu(longBinary, notes), QString(2500, u'F'));
    EXPECT_EQ(ZelShiLiuZhuanEr(QString(10000, u'F'), notes), QString(40000, u'1'));
    EXPECT_EQ(ZelErZhuanShi(controls, notes), "1");  // the scan stops at NUL
    EXPECT_EQ(ZelErZhuanShi(longBinary, notes), "-1");
    // 2 - 2^-10000, each power rounded to 28 decimals on the way.
    EXPECT_TRUE(ZelErZhuanShi(longFraction, notes)
                    .startsWith(QLatin1String("1.99999999999999999999999999")));
}

// ---- Exact model -------------------------------------------------------------------

mpz_class power(unsigned long base, unsigned long exp) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), base, exp);
    return r;
}

// A base text ("-1A.8", ".1", "101.") as an exact rational; sets ok = false when
// it is not one.
mpq_class parseBase(const QString& text, int base, bool& ok) {
    std::string s = text.toStdString();
    bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    const auto point = s.find('.');
    std::string digits = point == std::string::npos ? s : s.substr(0, point) + s.substr(point + 1);
    const unsigned long fraction = point == std::string::npos ? 0 : s.size() - point - 1;
    ok = digits.find_first_not_of("0123456789ABCDEF") == std::string::npos;
    if (!ok) return 0;
    if (digits.empty()) digits = "0";
    mpq_class q(mpz_class(digits, base), power(base, fraction));
    q.canonicalize();
    return negative ? mpq_class(-q) : q;
}

mpq_class parseBase(const QString& text, int base) {
    bool ok = false;
    mpq_class q = parseBase(text, base, ok);
    EXPECT_TRUE(ok) << text.toStdString();
    return q;
}

std::string bits(std::mt19937_64& rng, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + (rng() & 1));
    return s;
}

std::string digitsIn(std::mt19937_64& rng, int n, int base) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "0123456789ABCDEF"[rng() % base];
    return s;
}

// A random base text: sign, integer digits, and sometimes a fraction.
QString randomText(std::mt19937_64& rng, int base, int maxInt, int maxFrac) {
    std::string s = (rng() % 3 == 0) ? "-" : "";
    s += digitsIn(rng, static_cast<int>(rng() % (maxInt + 1)), base);
    if (rng() % 2) s += "." + digitsIn(rng, 1 + static_cast<int>(rng() % maxFrac), base);
    return QString::fromStdString(s);
}

// A random Decimal: up to 29 digits, scale 0 ... 28, either sign.
Decimal randomDecimal(std::mt19937_64& rng) {
    for (;;) {
        const int digits = 1 + static_cast<int>(rng() % 29);
        Decimal::u128 c = 0;
        for (int i = 0; i < digits; ++i) c = c * 10 + rng() % 10;
        if (c >> 96) continue;
        return Decimal::fromParts(c, static_cast<int>(rng() % 29), rng() % 2);
    }
}

// The integer part of |q|.
mpz_class wholeOf(const mpq_class& q) {
    const mpq_class a = abs(q);
    return a.get_num() / a.get_den();
}

mpq_class exact(const Decimal& d) {
    mpz_class c;
    const Decimal::u128 v = d.coefficient();
    mpz_import(c.get_mpz_t(), 2, -1, sizeof(std::uint64_t), 0, 0,
               std::array<std::uint64_t, 2>{static_cast<std::uint64_t>(v),
                                            static_cast<std::uint64_t>(v >> 64)}
                   .data());
    mpq_class q(c, power(10, d.scale()));
    q.canonicalize();
    return d.isNegative() ? mpq_class(-q) : q;
}

TEST(BaseConversionModel, GroupConversionsAreExact) {
    std::mt19937_64 rng(203);
    for (int i = 0; i < 4000; ++i) {
        BaseNotes notes;
        const QString bin = randomText(rng, 2, 70, 70);
        const mpq_class value = parseBase(bin, 2);
        const QString hex = ZelErZhuanShiLiu(bin, notes);
        const QString oct = ZelErZhuanBa(bin, notes);
        EXPECT_EQ(parseBase(hex, 16), value) << bin.toStdString() << " -> " << hex.toStdString();
        EXPECT_EQ(parseBase(oct, 8), value) << bin.toStdString() << " -> " << oct.toStdString();

        const QString h = randomText(rng, 16, 30, 30);
        const QString hb = ZelShiLiuZhuanEr(h.toLower(), notes);
        EXPECT_EQ(parseBase(hb, 2), parseBase(h, 16)) << h.toStdString();
        const QString o = randomText(rng, 8, 30, 30);
        const QString ob = ZelBaZhuanEr(o, notes);
        EXPECT_EQ(parseBase(ob, 2), parseBase(o, 8)) << o.toStdString();
        // Every digit becomes all of its bits.
        if (h.size() > h.count(u'-') + h.count(u'.')) {
            EXPECT_EQ(hb.size(), 4 * (h.size() - h.count(u'-') - h.count(u'.')) + h.count(u'-') +
                                     h.count(u'.'));
        }
        EXPECT_EQ(notes.failures, 0);
    }
}

// Digits of a binary text's fraction.
std::string fractionBits(const QString& binary) {
    const qsizetype p = binary.indexOf(u'.');
    return p < 0 ? std::string() : binary.mid(p + 1).toStdString();
}

TEST(BaseConversionModel, DecimalToBinaryAgainstExactHalving) {
    std::mt19937_64 rng(1024);
    const mpq_class tolerance(1, power(10, 26));
    for (int i = 0; i < 5000; ++i) {
        BaseNotes notes;
        const Decimal d = randomDecimal(rng);
        const QString bin = ZelShiZhuanEr(d.toString(), notes);
        ASSERT_EQ(notes.failures, 0) << d.toString().toStdString();
        const mpq_class q = exact(d);
        const mpq_class got = parseBase(bin, 2);
        const mpq_class mag = abs(q);
        const mpz_class whole = wholeOf(q);
        const mpq_class frac = mag - whole;
        // Integer bits are exact; the first 28 fraction bits too (halving 1 in
        // Decimal is exact down to 2^-28); later weights carry Decimal rounding, and
        // 92 bits at most are taken, so the rest is within 1E-26.
        EXPECT_EQ(wholeOf(got), whole) << d.toString().toStdString();
        const std::string fb = fractionBits(bin);
        EXPECT_LE(fb.size(), 92u);
        const mpz_class expected28 = wholeOf(mpq_class(frac * power(2, 28)));
        std::string padded = fb + std::string(28, '0');
        EXPECT_EQ(mpz_class(padded.substr(0, 28), 2), expected28) << d.toString().toStdString();
        EXPECT_LE(abs(abs(got) - mag), tolerance) << d.toString().toStdString();
        EXPECT_EQ(got < 0, q < 0);
        if (frac == 0) {
            EXPECT_EQ(got, q);
        }
    }
}

// A binary-to-decimal result against the exact value q of the binary text: exact
// where every power and the sum fit a Decimal; otherwise each "1" is off by a few
// units of the last place the sum keeps: half a unit from the addition, and the
// rounding of the multiplications that give a power 0.5^k beyond 28 decimals.
void expectBinarySum(const mpq_class& q, const mpq_class& got, int fracBits, int ones,
                     const std::string& what) {
    const mpz_class whole = wholeOf(q);
    const int intDigits = whole == 0 ? 1 : static_cast<int>(whole.get_str().size());
    if (fracBits <= 28 && intDigits + fracBits <= 28) {
        EXPECT_EQ(got, q) << what;
    } else {
        const int keptPlaces = std::max(0, std::min(28, 29 - intDigits));
        EXPECT_LE(abs(got - q), mpq_class(4 * ones, power(10, keptPlaces))) << what;
    }
}

TEST(BaseConversionModel, BinaryToDecimalAgainstExactSum) {
    std::mt19937_64 rng(2048);
    for (int i = 0; i < 5000; ++i) {
        BaseNotes notes;
        const int intBits = static_cast<int>(rng() % 97);
        const int fracBits = static_cast<int>(rng() % 50);
        std::string s = (rng() % 3 == 0 ? "-" : "") + bits(rng, intBits);
        if (fracBits) s += "." + bits(rng, fracBits);
        const QString bin = QString::fromStdString(s);
        const QString dec = ZelErZhuanShi(bin, notes);
        ASSERT_EQ(notes.failures, 0) << s;
        const mpq_class q = parseBase(bin, 2);
        const mpq_class got = parseBase(dec, 10);
        const int ones = static_cast<int>(std::count(s.begin(), s.end(), '1'));
        expectBinarySum(q, got, fracBits, ones, s + " -> " + dec.toStdString());
    }
}

TEST(BaseConversionModel, OctalAndHexadecimalThroughBinaryToDecimalAndBack) {
    std::mt19937_64 rng(4096);
    for (int i = 0; i < 3000; ++i) {
        BaseNotes notes;
        // Integers convert exactly in every direction.
        Decimal d = randomDecimal(rng).truncated();
        for (int base : {8, 16, 2}) {
            const QString there = convertBaseText(d.toString(), 10, base, notes);
            EXPECT_EQ(parseBase(there, base), exact(d))
                << d.toString().toStdString() << " base " << base;
            EXPECT_EQ(convertBaseText(there, base, 10, notes), d.toString()) << there.toStdString();
            for (int other : {2, 8, 16}) {
                const QString via = convertBaseText(there, base, other, notes);
                EXPECT_EQ(parseBase(via, other), exact(d))
                    << there.toStdString() << " to " << other;
            }
        }
        // Fractions through binary to decimal.
        for (int base : {8, 16}) {
            const QString t = randomText(rng, base, 20, 16);
            const QString binary = base == 8 ? ZelBaZhuanEr(t, notes) : ZelShiLiuZhuanEr(t, notes);
            const QString dec = convertBaseText(t, base, 10, notes);
            expectBinarySum(parseBase(t, base), parseBase(dec, 10),
                            static_cast<int>(fractionBits(binary).size()),
                            static_cast<int>(binary.count(u'1')),
                            t.toStdString() + " -> " + dec.toStdString());
        }
        EXPECT_EQ(notes.failures, 0);
    }
}

}  // namespace
}  // namespace hc
