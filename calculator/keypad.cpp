#include "calculator/keypad.h"

#include <array>
#include <charconv>
#include <cmath>

#include "engine/calc_log.h"
#include "engine/number_routines.h"
#include "engine/text_trim.h"
#include "expr/normalize.h"
#include "ui/services.h"

namespace hc {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kOrder =
    QStringLiteral("运算顺序为括号()--变量r等--函数sin等--阶乘!百分数%--乘方^--乘除余--加减。");

std::array<KeyInfo, kKeyCount + 1> buildKeys() {
    std::array<KeyInfo, kKeyCount + 1> k;
    const QString odd = QStringLiteral(
        "  运算顺序为括号()--变量r等--函数sin等--阶乘!百分数%--乘方^--乘*除/余\\--加+减-。");
    const QString even = QStringLiteral("  加减乘除等运算后==>29位有效数字；") + kCrLf +
                         QStringLiteral("  反三角函数、对数函数等运算后==>15位有效数字。");
    for (int i = 1; i <= 10; ++i) {
        const QString digit = QString::number(i % 10);
        k[i] = {digit, digit, 1, i % 2 ? odd : even};
    }
    k[11] = {".", ".", 1,
             QStringLiteral(
                 "在一个数中不能使用多个[小数点]。并且当数位（整数位+小数位）大于29位时程序将对"
                 "尾部进行舍位操作。")};
    const QString brackets =
        QStringLiteral("[括号]必须成对使用，汉字下的括号也可以使用。") + kOrder;
    k[12] = {"(", "(", 1, brackets};
    k[13] = {")", ")", 1, brackets};
    k[14] = {"+", "+", 1, QStringLiteral("  [ -- ]将被转换为 + ,[ +- ]将被转换为 -。") + kOrder};
    k[15] = {"-", "-", 1, QStringLiteral("[ — _ ]等将被转换为 -。") + kOrder};
    k[16] = {"*", "*", 1,
             QStringLiteral("    因[X x]为字母，为避免混淆，[乘＊]等乘法符号用 * "
                            "表示。    eg:-3乘-2 =>(-3)*(-2)")};
    k[17] = {"/", "/", 1,
             QStringLiteral("除数不能是 0，否则出现溢出错误。[除 ｜：| ÷]等将被转换为 /。eg:-3÷-2 "
                            "=>(-3)/(-2)")};
    k[18] = {
        QStringLiteral("\\余"), "\\", 1,
        QStringLiteral("使用[余] \\ 运算符计算整除后的余数,例 4\\-3=1   -5.12\\3=-2.12。  注意 "
                       "\\ * / 为同级运算符。")};
    k[19] = {"1/", "1/", 2, QStringLiteral(" 求一个数的倒数---该数不能为 O 。eg:1/-2 =>1/(-2)")};
    k[20] = {"%", "%", 1, QStringLiteral(" % 代表百分之一。") + kOrder};
    k[21] = {QStringLiteral("空格"), " ", 1,
             QStringLiteral("[空格]无实际作用，仅起分隔易看的作用。") + kCrLf +
                 QStringLiteral("并且当数位（整数位+小数位）大于29位时程序将对尾部进行舍位操作。")};
    k[22] = {"n!", "!", 1, QStringLiteral("  ! 代表[阶乘]，5! = 1*2*3*4*5 。") + kCrLf + kOrder};
    k[23] = {QStringLiteral("乘方"), "^", 1,
             QStringLiteral("^ 代表[乘方]，5^3 = 5*5*5  -2^-3 =>(-2)^(-3)。") + kCrLf + kOrder};
    k[24] = {QStringLiteral("平方"), "^2", 2,
             QStringLiteral("^2 代表[平方]，5^2 = 5*5  -3^-2 =>(-3)^(-2)。") + kCrLf + kOrder};
    const QString roots = kCrLf + QStringLiteral("请注意函数输出结果一般为28位有效数字。");
    k[25] = {QStringLiteral("开平方"), "^(1/2)", 6,
             QStringLiteral("[开方]必须用[乘方]代替 ，^(1/2) 即为开2次方。") + roots};
    k[26] = {QStringLiteral("开立方"), "^(1/3)", 6,
             QStringLiteral("[开方]必须用[乘方]代替 ，^(1/3) 即为开3次方。") + roots};
    k[27] = {QStringLiteral("开方"), "^(1/)", 4,
             QStringLiteral("[开方]必须用[乘方]代替 ，^(1/8) 即为开8次方。") + roots};
    const QString logs = kCrLf + QStringLiteral("请注意函数输出结果最多为15位有效数字。");
    k[28] = {"log", "( lg()/lg() )", 5,
             QStringLiteral("求对数:例如 以3为底 5的对数 log 3 （5）==> ( lg(5)/lg(3) )。") + logs};
    k[29] = {"ln", "ln()", 3,
             QStringLiteral("求自然对数 : ln(X) 以科学自然数为底的对数，X应大于0 。") + logs};
    k[30] = {"lg", "lg()", 3,
             QStringLiteral("求普通对数 : lg(X) 以10为底的对数，X应大于0 。") + logs};
    const QString trig = kCrLf + QStringLiteral("请注意三角函数输出结果最多为28位有效数字。");
    const QString unitNote = QStringLiteral("函数---必须注意角度的制式，度分秒和百分度、弧度。");
    k[31] = {"Sin", "sin()", 4, QStringLiteral("正弦") + unitNote + trig};
    k[32] = {"Cos", "cos()", 4, QStringLiteral("余弦") + unitNote + trig};
    k[33] = {"Tan", "tan()", 4, QStringLiteral("正切") + unitNote + trig};
    k[34] = {"Cot", "cot()", 4, QStringLiteral("余切") + unitNote + trig};
    const QString inv = kCrLf + QStringLiteral("请注意反三角函数输出结果最多为15位有效数字。");
    k[35] = {
        QStringLiteral("反Sin"), "arcsin()", 7,
        QStringLiteral("反正弦函数---必须注意角度的三种制式，arcsin(x) 要求 -1 ≤ x ≤ 1 。") + inv};
    k[36] = {
        QStringLiteral("反Cos"), "arccos()", 7,
        QStringLiteral("反余弦函数---必须注意角度的三种制式，arccos(x) 要求 -1 ≤ x ≤ 1。") + inv};
    const QString invTan =
        kCrLf + QStringLiteral(
                    "请注意反三角函数输出结果最多为15位有效数字，不要用度分秒格式进行加减操作。");
    k[37] = {QStringLiteral("反Tan"), "arctan()", 7,
             QStringLiteral("反正切函数---必须注意角度的三种制式。") + invTan};
    k[38] = {QStringLiteral("反Cot"), "arccot()", 7,
             QStringLiteral("反余切函数---必须注意角度的三种制式。") + invTan};
    k[39] = {
        QStringLiteral("π"), QStringLiteral("π"), 1,
        QStringLiteral("圆周率 π 的值为 3.1415926535897932384626433833 。") + kCrLf +
            QStringLiteral(" 附带学习：度分秒格式的角度数 45.59598999 代表45度59分59.8999秒。")};
    k[40] = {QStringLiteral("ε"), QStringLiteral("ε"), 1,
             QStringLiteral("科学自然数 ε 的值为 2.71828182845905 。") + kCrLf +
                 QStringLiteral("（ 注：数学中为e,为避免计算混淆用ε代替）")};
    k[41] = {QStringLiteral("双曲 正弦"), "sh()", 3,
             QStringLiteral(" （双曲正弦） sh(X) = ( ε^ X - ε^(-X)) / 2。")};
    k[42] = {QStringLiteral("双曲 余弦"), "ch()", 3,
             QStringLiteral(" （双曲余弦） ch(X) = ( ε^ X + ε^(-X)) / 2。")};
    k[43] = {QStringLiteral("双曲 正切"), "th()", 3,
             QStringLiteral("双曲正切 th(X) = ( ε^ X - ε^(-X)) / ( ε^ X + ε^(-X))。")};
    k[44] = {QStringLiteral("双曲 余切"), "cth()", 4,
             QStringLiteral("双曲余切 cth(X) = ( ε^ X + ε^(-X)) / ( ε^ X - ε^(-X))。")};
    const QString secNote = kCrLf + QStringLiteral(" 请注意函数输出结果最多为28位有效数字。");
    k[45] = {QStringLiteral("正割 sec"), "sec()", 4,
             QStringLiteral("（正割） sec(x)= 1 / cos(x) ") + secNote};
    k[46] = {QStringLiteral("余割 csc"), "csc()", 4,
             QStringLiteral("（余割）csc(x) = 1 / sin(x)  ") + secNote};
    const QString arcSecNote =
        kCrLf + QStringLiteral("  输出角度值--注意有三种表示方法，不要用度分秒格式进行加减操作。");
    k[47] = {QStringLiteral("反正割"), "arcsec()", 7,
             QStringLiteral("（反正割） arcsec(x)  为正割的反函数 ") + arcSecNote};
    k[48] = {QStringLiteral("反余割"), "arccsc()", 7,
             QStringLiteral("（反余割）arccsc(x)   为余割的反函数 ") + arcSecNote};
    k[49] = {"E", "E", 1,
             QStringLiteral("  科学记数 E ,例如: 612345000 = 6.12345E+8       -6.12345E-8 = "
                            "-0.0000000612345 ")};
    k[50] = {"F-E", QString(), 0, feHelpText()};
    const QString memory =
        QStringLiteral("内存变量 -- 共有九个，你可以修改它们，并且编入公式中参加计算。") + kCrLf +
        QStringLiteral("例如：( r^2 + s^2 )^0.5   (r+s+t+u+v+w)/6\u3000\u3000２*X*Y/Z ");
    const QString letters = QStringLiteral("rstuvwxyz");
    for (int i = 0; i < 9; ++i) {
        k[51 + i] = {QStringLiteral("变量") + letters[i],
                     QStringLiteral(" ") + letters[i] + QStringLiteral(" "), 3, memory};
    }
    k[60] = {QStringLiteral("随机数"), QString(), 0,
             QStringLiteral(" {随机数} 是随机产生的位于 0 - 1 之间的小数。")};
    return k;
}

}  // namespace

QString feHelpText() {
    return QStringLiteral(
        "  将计算结果从[浮点数]变化为[科学记数]。例如: 612345000 = 6.12345E+8       "
        "-0.0000000612345 = -6.12345E-8 ");
}

const KeyInfo* hmKey(int index) {
    static const std::array<KeyInfo, kKeyCount + 1> keys = buildKeys();
    if (index < 1 || index > kKeyCount) return nullptr;
    return &keys[index];
}

QString insertToken(const QString& formula, SavedSelection& sel, const QString& token,
                    int advance) {
    const int size = static_cast<int>(formula.size());
    int start = std::clamp(sel.start, 0, size);
    const qsizetype afterPos = static_cast<qsizetype>(start) + std::max(sel.length, 0);
    const QString result =
        formula.left(start) + token + (afterPos < size ? formula.mid(afterPos) : QString());
    sel.start = start + advance;
    sel.length = 0;
    sel.text.clear();
    return result;
}

QString ZelKeXueJiShu(const QString& text) {
    EngineReport ignored;  // a text that is no number shows as the value it reads as
    const QString t = trimSpaces(
        checkedCall([&] { return ZelShuZhuanShu(Num::ofText(ZelGuiFanSuanShi(text))); }, ignored)
            .text());
    if (t == QLatin1String("0")) return QStringLiteral("0E+0");
    if (t.contains(QLatin1Char('E'), Qt::CaseInsensitive)) return t;

    // Positions are 1-based, as in the rule the users know from the help text.
    QString m;
    int c = 0;
    int d = 0;
    for (int i = 1; i <= t.size(); ++i) {
        const QChar ch = t[i - 1];
        if (ch == QLatin1Char('.') && c == 0) c = i;
        if (d == 0 && ch >= QLatin1Char('1') && ch <= QLatin1Char('9')) d = i;
        if (ch == QLatin1Char('-')) {
            m += ch;
        } else if (d != 0 && ch.isDigit() && ch.unicode() < 128) {
            m += ch;
            if (i == d) m += QLatin1Char('.');
        }
    }
    if (d == 0) return QStringLiteral("0E+0");  // no significant digit, e.g. "-0"
    if (m.endsWith(QLatin1Char('.'))) m.chop(1);
    if (c == 0) c = static_cast<int>(t.size()) + 1;
    const int x = d < c ? c - d - 1 : c - d;
    return m + QLatin1Char('E') + (x > 0 ? QStringLiteral("+") : QString()) + QString::number(x);
}

QString plainSignificant(double v, int digits) {
    if (!(v > 0)) return QStringLiteral("0");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
    const std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string mantissa;
    for (char ch : s.substr(0, e))
        if (ch != '.') mantissa += ch;
    int exponent = std::stoi(s.substr(e + 1));
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    std::string out;
    if (exponent >= 0) {
        // Only reached when the value rounded up to 1.
        out = mantissa.substr(0, exponent + 1);
        while (static_cast<int>(out.size()) < exponent + 1) out += '0';
        if (static_cast<int>(mantissa.size()) > exponent + 1)
            out += "." + mantissa.substr(exponent + 1);
    } else {
        out = "0." + std::string(-exponent - 1, '0') + mantissa;
    }
    return QString::fromStdString(out);
}

QString randomToken(double r1, double r2, double r3) {
    return plainSignificant(r1, 7) + plainSignificant(r2, 7).mid(2, 7) +
           plainSignificant(r3, 7).mid(2, 6);
}

QString drawRandomToken() {
    double r[3];
    for (double& x : r) {
        ui::services().reseedRandom();
        x = ui::random();
    }
    return randomToken(r[0], r[1], r[2]);
}

}  // namespace hc
