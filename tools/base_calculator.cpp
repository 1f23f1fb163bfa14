#include "tools/base_calculator.h"

#include <algorithm>
#include <cstdint>

#include "engine/arithmetic.h"
#include "engine/calc_log.h"
#include "engine/decimal.h"
#include "engine/num.h"
#include "engine/power.h"
#include "engine/text_trim.h"
#include "tools/base_conversion.h"

namespace hc {
namespace {

struct OperationText {
    BaseOperation op;
    const char16_t* caption;
    const char16_t* label;
    const char* ascii;
};

const OperationText kOperations[kBaseOperationCount] = {
    {BaseOperation::Add, u"加", u"加法 +", "add"},
    {BaseOperation::Sub, u"减", u"减法 -", "sub"},
    {BaseOperation::Mul, u"乘", u"乘法 *", "mul"},
    {BaseOperation::Div, u"除", u"除法 /", "div"},
    {BaseOperation::Pow, u"幂", u"乘方 ^", "pow"},
    {BaseOperation::Mod, u"余", u"求余数\\", "mod"},
    {BaseOperation::And, u"与", u"与 And", "and"},
    {BaseOperation::Or, u"或", u"或 Or", "or"},
    {BaseOperation::Not, u"非", u"非 Not", "not"},
    {BaseOperation::Xor, u"异或", u"异或 Xor", "xor"},
    {BaseOperation::Nand, u"与非", u"与非 AndNot", "nand"},
    {BaseOperation::Nor, u"或非", u"或非  OrNot", "nor"},
};

const OperationText& textOf(BaseOperation op) { return kOperations[static_cast<int>(op)]; }

QString tooLongText(int box) {
    return box == 0 ? QStringLiteral("第一个数字太长了！") : QStringLiteral("第二个数字太长了！");
}

// Clamps the remembered caret and selection to the text.
void clampCaret(BaseDataBox& b) {
    const int size = static_cast<int>(b.text.size());
    b.selStart = std::clamp(b.selStart, 0, size);
    b.selLength = std::clamp(b.selLength, 0, size - b.selStart);
}

// The text before the remembered caret and the text after the caret and the
// remembered selection; the selected characters belong to neither.
struct SplitText {
    QString left;
    QString right;
};

SplitText split(BaseDataBox& b) {
    if (b.text.isEmpty() && b.selStart == 0) return {};
    clampCaret(b);
    return {b.text.left(b.selStart), b.text.mid(b.selStart + b.selLength)};
}

void clearSelection(BaseDataBox& b) {
    b.selLength = 0;
    b.selText.clear();
}

bool isBlank(const QString& text) {
    return QString::compare(trimSpaces(text), QStringLiteral(" "), Qt::CaseSensitive) <= 0;
}

// A failure that ends the calculation.
struct CalculationFailed {};

Decimal decimalOf(const QString& numberText) {
    Decimal d;
    if (!Decimal::tryFromText(numberText, d)) throw CalculationFailed{};
    return d;
}

// Reads data text `text` in `base` and gives its value; `text` becomes its
// canonical form in that base.
Decimal readOperand(QString& text, int base, BaseNotes& notes) {
    switch (base) {
        case 2: {
            const Decimal v = decimalOf(ZelErZhuanShi(text, notes));
            text = ZelShiZhuanEr(v, notes);
            return v;
        }
        case 8: {
            const QString b = ZelBaZhuanEr(text, notes);
            text = ZelErZhuanBa(b, notes);
            return decimalOf(ZelErZhuanShi(b, notes));
        }
        case 16: {
            const QString b = ZelShiLiuZhuanEr(text, notes);
            text = ZelErZhuanShiLiu(b, notes);
            return decimalOf(ZelErZhuanShi(b, notes));
        }
        default: {
            const Decimal v = decimalOf(text);
            text = v.toString();
            return v;
        }
    }
}

// The magnitude of v rounded to a whole number, ties to even; fails above 2^31 - 1.
std::int64_t wholeMagnitude(const Decimal& v) {
    const Decimal m = decimalOf(ZelQuFuHao(v.toString()));
    const Decimal whole = m.truncated();
    if (whole > Decimal(2147483647)) throw CalculationFailed{};
    std::int64_t n = whole.toString().toLongLong();
    const Decimal rest = m - whole;
    const Decimal half = Decimal::fromParts(5, 1, false);
    if (rest > half || (rest == half && n % 2 == 1)) ++n;
    if (n > 2147483647) throw CalculationFailed{};
    return n;
}

Decimal bitwise(BaseOperation op, const Decimal& x, const Decimal& y, BaseNotes& notes) {
    const std::int64_t a = wholeMagnitude(x);
    const std::int64_t b = wholeMagnitude(y);
    const bool nx = x.isNegative();
    const bool ny = y.isNegative();
    std::int64_t r = 0;
    bool negative = false;
    switch (op) {
        case BaseOperation::And:
        case BaseOperation::Nand:
            r = a & b;
            negative = nx && ny;
            break;
        case BaseOperation::Or:
        case BaseOperation::Nor:
            r = a | b;
            negative = nx || ny;
            break;
        default:
            r = a ^ b;
            negative = nx != ny;
            break;
    }
    const Decimal combined(static_cast<long long>(negative ? -r : r));
    if (op == BaseOperation::Nand || op == BaseOperation::Nor)
        return decimalOf(ZelLuoJiFei(combined.toString(), notes));
    return combined;
}

Num computeIn(BaseOperation op, const Decimal& x, const Decimal& y, BaseNotes& notes) {
    try {
        switch (op) {
            case BaseOperation::Add:
                return Num::ofDecimal(x + y);
            case BaseOperation::Sub:
                return Num::ofDecimal(x - y);
            case BaseOperation::Mul:
                return Num::ofDecimal(x * y);
            case BaseOperation::Div:
                return Num::ofDecimal(x / y);
            case BaseOperation::Pow:
                return ZelChengFang(Num::ofDecimal(x), Num::ofDecimal(y));
            case BaseOperation::Mod:
                return ZelLiangShuYu(Num::ofDecimal(x), Num::ofDecimal(y));
            case BaseOperation::Not:
                return Num::ofDecimal(decimalOf(ZelLuoJiFei(y.toString(), notes)));
            default:
                return Num::ofDecimal(bitwise(op, x, y, notes));
        }
    } catch (const DecimalError&) {
        throw CalculationFailed{};
    }
}

// The operation's arithmetic reports through the engine: its failures and notices
// join the conversions' in `notes`, in the order they came.
Num compute(BaseOperation op, const Decimal& x, const Decimal& y, BaseNotes& notes) {
    EngineReport report;
    BaseNotes own;
    struct Merge {
        EngineReport& engine;
        BaseNotes& own;
        BaseNotes& to;
        ~Merge() {
            // An operation calls either engine routines (power, remainder) or
            // conversions (NOT, NAND, NOR), never both: the order is kept.
            to.failures += own.failures + engine.failures;
            to.notices.append(own.notices);
            to.notices.append(engine.notices);
        }
    } merge{report, own, notes};
    return checkedCall([&] { return computeIn(op, x, y, own); }, report);
}

QString resultText(const Num& r, int base, BaseNotes& notes) {
    if (base == 10) return trimmedText(r);
    const QString binary =
        r.isDecimal() ? ZelShiZhuanEr(r.decimal(), notes) : ZelShiZhuanEr(r.text(), notes);
    if (base == 8) return ZelErZhuanBa(binary, notes);
    if (base == 16) return ZelErZhuanShiLiu(binary, notes);
    return binary;
}

}  // namespace

QString operationCaption(BaseOperation op) { return QString::fromUtf16(textOf(op).caption); }

QString operationLabel(BaseOperation op) { return QString::fromUtf16(textOf(op).label); }

bool isBitwise(BaseOperation op) {
    return static_cast<int>(op) >= static_cast<int>(BaseOperation::And);
}

std::optional<BaseOperation> operationFromName(const QString& name) {
    for (const OperationText& t : kOperations) {
        if (name == QString::fromUtf16(t.caption) ||
            name.compare(QLatin1String(t.ascii), Qt::CaseInsensitive) == 0)
            return t.op;
    }
    return std::nullopt;
}

QStringList operationHelpLines(BaseOperation op) {
    QStringList lines;
    switch (op) {
        case BaseOperation::And:
            lines = {
                QStringLiteral(
                    "逻辑运算--[与 And]：当两个数位都为[真]才输出[真]，有一个为[假]就输出[假]。"),
                QStringLiteral("    例如：0  1 ==> 0        1  0 ==> 0        0  0 ==> 0 "),
                QStringLiteral("    例如：1  1 ==> 1        （0代表假，1代表真）。")};
            break;
        case BaseOperation::Or:
            lines = {
                QStringLiteral(
                    "逻辑运算--[或  Or]：当两个数位都为[假]才输出[假]，有一个为[真]就输出[真]。"),
                QStringLiteral("    例如：0  1 ==> 1        1  0 ==> 1        1  1 ==> 1 "),
                QStringLiteral("    例如：0  0 ==> 0        （0代表假，1代表真）。")};
            break;
        case BaseOperation::Not:
            lines = {
                QStringLiteral(
                    "逻辑运算--[非 Not]：数位为[真]就输出[假]，当数位为[假]就输出[真]。"),
                QStringLiteral("例如： 1 <==> 0 （0代表假，1代表真），最前符号位 - <==> 正 。")};
            break;
        case BaseOperation::Xor:
            lines = {QStringLiteral(
                         "逻辑运算--[异或 Xor]：两个数位相同就输出[假]，都不同时才输出[真]。"),
                     QStringLiteral("    例如：0  1 ==> 1        1  0 ==> 1      "),
                     QStringLiteral(
                         "    例如：1  1 ==> 0        0  0 ==> 0      （0代表假，1代表真）。")};
            break;
        case BaseOperation::Nand:
            lines = {
                QStringLiteral(
                    "逻辑--[与非 AndNot]：两数位中有一个为[假]就输出[真]，都[真]时才输出[假]。"),
                QStringLiteral("    例如：0  1 ==> 1        1  0 ==> 1       0  0 ==> 1 "),
                QStringLiteral("    例如：1  1 ==> 0        （0代表假，1代表真）。")};
            break;
        case BaseOperation::Nor:
            lines = {QStringLiteral(
                         "逻辑--[或非 OrNot]：两数位有一个为[真]就输出[假]，都[假]时才输出[真]。"),
                     QStringLiteral("    例如：0  1 ==> 0        1  0 ==> 0       1  1 ==> 0 "),
                     QStringLiteral("    例如：0  0 ==> 1        （0代表假，1代表真）。")};
            break;
        default:
            return {};
    }
    lines << QStringLiteral("原始数据最好采用正整数，否则虽有实际意义，但可能不是你想得到的结果。")
          << QStringLiteral(
                 "其它进制的逻辑计算都化为二进制，进行逻辑运算得到结果后，再转回原进制。");
    return lines;
}

bool isWindowBase(int base) { return base == 2 || base == 8 || base == 10 || base == 16; }

bool digitKeyEnabled(int base, int digit) { return digit >= 0 && digit < base; }

QString baseSwitchHelp(int oldBase, int newBase) {
    QString description;
    switch (newBase) {
        case 2:
            description = QStringLiteral(
                "    [二进制]--太简单了，会数 0 和 1 就可以了！一个数由太多0和1组成会让你数的头晕，"
                " 逻辑运算时有点麻烦！");
            break;
        case 8:
            description = QStringLiteral(
                "    [八进制]--比较简单，会数 0 - 7 "
                "就可以了！书写比较简单、也容易记忆，进行二进制换算比较容易！");
            break;
        case 10:
            description = QStringLiteral(
                "    "
                "[十进制]--太简单了，从婴儿一直学习到现在，有十个手指就够了！但不是科学的记数法，"
                "而且和其它进制换算有点麻烦！");
            break;
        default:
            description = QStringLiteral(
                "    "
                "[十六进制]--有点复杂了，把两只手和两只脚用上后有点富余！不过进行二进制换算比较简单"
                "！你想学电脑的话，必须好好学习、天天向上。");
            break;
    }
    return description + QStringLiteral("\r\n    以前为") + QString::number(oldBase) +
           QStringLiteral("进制，当前为") + QString::number(newBase) + QStringLiteral("进制。");
}

QString initialBaseHelp() {
    return QStringLiteral(
        "    二、八、十、十六，进制虽多，道理一个：逢进制数进一。\r\n"
        "    点选进制，输入两个数据，选好运算，按[运算]即得成果。\r\n"
        "    换进制时，两个数据随之换算。");
}

bool pressDigit(BaseWindowState& s, QChar c) {
    BaseDataBox& b = s.data[s.active];
    const SplitText parts = split(b);
    if (b.selStart < ZelJianHaoShu(b.text)) {
        b.selStart = static_cast<int>(b.text.size());
        return false;
    }
    if (s.base == 10 && ZelYouXiao019ChangDu(b.text) > 28) {
        s.result = tooLongText(s.active);
        return false;
    }
    s.result.clear();
    if (s.base != 2 && b.text.size() > 30) {
        s.result = tooLongText(s.active);
        return false;
    }
    b.text = parts.left + c + parts.right;
    b.selStart = static_cast<int>(parts.left.size()) + 1;
    clearSelection(b);
    return true;
}

bool pressPoint(BaseWindowState& s) {
    BaseDataBox& b = s.data[s.active];
    if (ZelDianHaoShu(b.text) >= 1) return true;
    clampCaret(b);
    const bool beforeMinus = b.selStart < ZelJianHaoShu(b.text);
    const bool focus = pressDigit(s, u'.');
    return focus || beforeMinus;
}

bool pressSign(BaseWindowState& s) {
    BaseDataBox& b = s.data[s.active];
    const QString trimmed = trimSpaces(b.text);
    if (!trimmed.startsWith(u'-')) {
        b.text = u'-' + trimmed;
        ++b.selStart;
        clearSelection(b);
    }
    return true;
}

bool pressDelete(BaseWindowState& s) {
    BaseDataBox& b = s.data[s.active];
    SplitText parts = split(b);
    if (!parts.left.isEmpty()) {
        parts.left.chop(1);
        --b.selStart;
    }
    b.text = parts.left + parts.right;
    clearSelection(b);
    s.result.clear();
    return true;
}

bool pressClear(BaseWindowState& s) {
    s.data[s.active] = BaseDataBox{};
    s.result.clear();
    return true;
}

bool typeCharacter(BaseWindowState& s, QChar c) {
    if (!c.isPrint() || c.isSpace()) return false;
    BaseDataBox& b = s.data[s.active];
    if (c == u'.') {
        if (ZelDianHaoShu(b.text) >= 1) return false;
    } else if (c == u'-') {
        clampCaret(b);
        if (ZelJianHaoShu(b.text) >= 1 || b.selStart != 0) return false;
    }
    return pressDigit(s, c);
}

QString convertBaseText(const QString& text, int from, int to, BaseNotes& notes) {
    if (from == to) return text;
    QString binary;
    switch (from) {
        case 8:
            binary = ZelBaZhuanEr(text, notes);
            break;
        case 10:
            binary = ZelShiZhuanEr(text, notes);
            break;
        case 16:
            binary = ZelShiLiuZhuanEr(text, notes);
            break;
        default:
            binary = text;
            break;
    }
    switch (to) {
        case 8:
            return ZelErZhuanBa(binary, notes);
        case 10:
            return ZelErZhuanShi(binary, notes);
        case 16:
            return ZelErZhuanShiLiu(binary, notes);
        default:
            return binary;
    }
}

Notices switchBase(BaseWindowState& s, int newBase) {
    BaseNotes notes;
    const int oldBase = s.base;
    s.help = baseSwitchHelp(oldBase, newBase);
    if (oldBase != newBase) {
        for (BaseDataBox& b : s.data) b.text = convertBaseText(b.text, oldBase, newBase, notes);
        s.result.clear();
    }
    s.base = newBase;
    return notes.notices;
}

void chooseOperation(BaseWindowState& s, BaseOperation op) {
    s.operation = op;
    s.label = operationLabel(op);
    s.data1Visible = op != BaseOperation::Not;
    s.result.clear();
    if (isBitwise(op)) s.help = operationHelpLines(op).join(QStringLiteral("\r\n"));
}

QString conversionFailedText() {
    return QStringLiteral("数据有误或超出计算范围，请修改后再计算！");
}

QString calculationFailedText() {
    return QStringLiteral("数据有误或超出计算范围，请修改后再计算。");
}

Notices calculate(BaseWindowState& s) {
    BaseNotes notes;
    s.result.clear();
    try {
        for (BaseDataBox& b : s.data)
            if (isBlank(b.text)) b.text = QStringLiteral("0");
        const Decimal x = readOperand(s.data[0].text, s.base, notes);
        const Decimal y = readOperand(s.data[1].text, s.base, notes);
        const Num r = compute(s.operation, x, y, notes);
        s.result = resultText(r, s.base, notes);
        if (notes.failures > 0) s.result = conversionFailedText();
        s.warningVisible = s.result.size() >= 37;
        s.warning = s.warningVisible
                        ? QStringLiteral("计算结果为 ") + QString::number(s.result.size()) +
                              QStringLiteral(" 位，显示框不能完全显示，敬请注意！")
                        : QString();
    } catch (const CalculationFailed&) {
        s.result = calculationFailedText();
    } catch (const DecimalError&) {
        s.result = calculationFailedText();
    }
    return notes.notices;
}

}  // namespace hc
