#include "expr/validate.h"

#include <algorithm>
#include <string_view>

#include "engine/calc_log.h"
#include "engine/text_trim.h"
#include "expr/char_classes.h"

namespace hc {

namespace {

// The text without its leading and trailing spaces, or an empty view when the formula
// counts as empty. `lowered` holds the characters the view points at: the text
// lower-cased, or the text itself when it is ASCII, which the caller lower-cases as it
// reads it (asciiLower).
QStringView prepared(const QString& text, QString& lowered) {
    lowered = isAscii(text) ? text : text.toLower();
    const QStringView t = trimSpaces(QStringView(lowered));
    if (t.isEmpty() || t.front().unicode() < u' ' || t == u"空算式错误") return {};
    return t;
}

// The text without spaces and with sign pairs collapsed, written to `out` when it is given;
// returns its length. Without `allPairs` only "++" and "-+" are collapsed.
qsizetype simplified(QStringView t, bool allPairs, char16_t* out) {
    qsizetype n = 0;
    char16_t last = 0;
    for (QChar qc : t) {
        const char16_t c = asciiLower(qc.unicode());
        if (c == u' ' || c == 0x3000) continue;
        if (n > 0 && (last == u'+' || last == u'-')) {
            if (allPairs && (c == u'+' || c == u'-')) {
                last = last == c ? u'+' : u'-';
                if (out) out[n - 1] = last;
                continue;
            }
            if (!allPairs && c == u'+') continue;
        }
        if (out) out[n] = c;
        ++n;
        last = c;
    }
    return n;
}

QString simplify(const QString& text, bool allPairs) {
    QString lowered;
    const QStringView t = prepared(text, lowered);
    if (t.isEmpty()) return QStringLiteral("0");
    const qsizetype n = simplified(t, allPairs, nullptr);
    // A text that is simplified already is handed back, not copied.
    if (n == text.size() && lowered.constData() == text.constData() && lowerCase(text) == text)
        return text;
    QString out(n, Qt::Uninitialized);
    simplified(t, allPairs, reinterpret_cast<char16_t*>(out.data()));
    return out;
}

// Counts `count` failures and logs `message` once; it becomes the first message only
// when the error count is then 1.
void reportCounted(int count, const QString& message) {
    CalcLog& st = calcLog();
    st.errorCount += count;
    st.logOnly(message);
    if (st.errorCount == 1) st.firstMessage = message;
}

constexpr CharSet kOperatorOrOpen{u"-+*/^\\("};
constexpr CharSet kClosingAfter{u"*/^\\)!%"};
bool isOperatorOrOpen(QChar c) { return kOperatorOrOpen.contains(c); }
bool isClosingAfter(QChar c) { return kClosingAfter.contains(c); }

// The prepared text framed by a space at each end and lower-cased, read without being
// copied.
class Framed {
public:
    explicit Framed(QStringView t) : t_(t) {}
    qsizetype size() const { return t_.size() + 2; }
    QChar operator[](qsizetype i) const {
        return i == 0 || i == t_.size() + 1 ? QChar(u' ') : QChar(asciiLower(t_[i - 1].unicode()));
    }
    QString toString() const {
        QString s(size(), Qt::Uninitialized);
        char16_t* o = reinterpret_cast<char16_t*>(s.data());
        for (qsizetype i = 0; i < size(); ++i) o[i] = (*this)[i].unicode();
        return s;
    }

private:
    QStringView t_;
};

int adjacencyErrors(const Framed& s) {
    constexpr CharSet kNoStart{u"\\/*^!%"};
    constexpr CharSet kBinary{u"^/*\\"};
    constexpr CharSet kOperator{u"^/*\\+-"};
    int errors = 0;
    for (qsizetype i = 1; i + 1 < s.size(); ++i) {
        const QChar c = s[i];
        const QChar prev = s[i - 1];
        const QChar next = s[i + 1];
        if (isDigit(c) || (isLetter(c) && c != u'e')) continue;
        if (i == 1 && kNoStart.contains(c)) ++errors;
        if (i == 1 && c == u'e' && (next == u'-' || next == u'+' || isDigit(next))) ++errors;
        if (c == u'(' && isClosingAfter(next)) ++errors;
        if (c == u')' && isOperatorOrOpen(prev)) ++errors;
        if ((c == u'!' || c == u'%') && isOperatorOrOpen(prev)) ++errors;
        if (kBinary.contains(c) && isOperatorOrOpen(prev)) ++errors;
        if (kOperator.contains(c) && isClosingAfter(next)) ++errors;
        if (c == u'.' && isLetter(next)) ++errors;
    }
    return errors;
}

// Where the last applicable rule puts a "*" next to the character.
enum class Insert { None, Before, After };

Insert implicitProduct(QChar prev, QChar c, QChar next) {
    if (isDigit(c))
        return next == u'(' || next == u'π' || next == u'ε' || (isLetter(next) && next != u'e')
                   ? Insert::After
                   : Insert::None;
    constexpr CharSet kMayInsert{u")(πε!%"};
    constexpr CharSet kEndsOperand{u"πε!%"};
    if (!kMayInsert.contains(c)) return Insert::None;
    const bool operandAfter = isDigit(next) || next == u'π' || next == u'ε' || isLetter(next);
    const bool operandBefore = isDigit(prev) || kEndsOperand.contains(prev);
    Insert r = Insert::None;
    if (c == u')' && next == u'(') r = Insert::After;
    if (c == u'(' && operandBefore) r = Insert::Before;
    if (c == u')' && operandAfter) r = Insert::After;
    if (c == u'π' || c == u'ε') {
        if (operandBefore) r = Insert::Before;
        if (operandAfter) r = Insert::After;
    }
    if ((c == u'!' || c == u'%') && operandAfter) r = Insert::After;
    if (isDigit(c) &&
        (next == u'(' || next == u'π' || next == u'ε' || (isLetter(next) && next != u'e')))
        r = Insert::After;
    return r;
}

// Spaces out the characters it is given one by one: an operator or bracket gets a space
// on each side, a sign too unless it follows a space or an exponent letter. Writes them
// to a text that it widens as it fills.
class Spacer {
public:
    explicit Spacer(qsizetype expected)
        : out_(std::max<qsizetype>(expected, 16), Qt::Uninitialized) {
        p_ = reinterpret_cast<char16_t*>(out_.data());
    }
    // The text written, handed over; the spacer is empty afterwards.
    QString take() {
        out_.truncate(n_);
        n_ = 0;
        return std::move(out_);
    }

    // The first and the last character are taken as they are.
    void putPlain(char16_t c) {
        room(1);
        write(c);
    }
    void put(char16_t c) {
        constexpr CharSet kSpaced{u")(^/*\\"};
        room(3);
        if (kSpaced.contains(c) || ((c == u'+' || c == u'-') && last_ != u' ' && last_ != u'e')) {
            write(u' ');
            write(c);
            write(u' ');
        } else {
            write(c);
        }
    }

private:
    void room(qsizetype k) {
        if (n_ + k <= out_.size()) return;
        out_.resize(std::max(2 * out_.size(), n_ + k));
        p_ = reinterpret_cast<char16_t*>(out_.data());
    }
    void write(char16_t c) {
        p_[n_++] = c;
        last_ = c;
    }

    QString out_;
    char16_t* p_ = nullptr;
    qsizetype n_ = 0;
    char16_t last_ = 0;
};

// Inserts the implicit "*" and spaces the result out in one sweep. The text is scanned as
// it grows: a "*" put before a character moves that character one place on, where it is
// looked at once more (with the "*" now before it).
void productsSpaced(const Framed& s, Spacer& out) {
    out.putPlain(s[0].unicode());
    QChar last = s[0];
    const qsizetype end = s.size() - 1;
    for (qsizetype i = 1; i < end; ++i) {
        const QChar c = s[i];
        const QChar next = s[i + 1];
        // Most characters are digits followed by no operand that a "*" would join.
        Insert ins = isDigit(c) && next.unicode() < 0x80 && !isLetter(next) && next != u'('
                         ? Insert::None
                         : implicitProduct(last, c, next);
        if (ins == Insert::Before) {
            out.put(u'*');
            ins = implicitProduct(QChar(u'*'), c, next);
        }
        out.put(c.unicode());
        last = c;
        if (ins == Insert::After) {
            out.put(u'*');
            last = QChar(u'*');
        }
    }
    out.putPlain(s[end].unicode());
}

}  // namespace

bool bracketsPair(QStringView s, qsizetype from, qsizetype end) {
    qsizetype totalOpen = 0;
    qsizetype totalClose = 0;
    qsizetype lastBracket = -1;
    const char16_t* p = s.utf16();
    for (qsizetype i = 0; i < s.size(); ++i) {
        const bool open = p[i] == u'(';
        const bool close = p[i] == u')';
        totalOpen += open;
        totalClose += close;
        if (open || close) lastBracket = i;
    }
    qsizetype leftOpen = 0;
    qsizetype leftClose = 0;
    for (qsizetype i = 0; i < std::min(from, s.size()); ++i) {
        leftOpen += p[i] == u'(';
        leftClose += p[i] == u')';
    }
    // The counts change at brackets only: the first character after a bracket is checked
    // for all those up to the next one, and nothing is checked after the first character
    // that follows the last bracket.
    end = std::min({end, s.size(), std::max(from, lastBracket + 1) + 1});
    bool checked = false;
    for (qsizetype i = from; i < end; ++i) {
        const char16_t c = p[i];
        const bool bracket = c == u'(' || c == u')';
        if (!bracket && !checked) {
            checked = true;
            const qsizetype rightOpen = totalOpen - leftOpen;
            const qsizetype rightClose = totalClose - leftClose;
            if (leftClose > leftOpen || rightOpen > rightClose) {
                calcLog().report(QStringLiteral(" 算式--括号顺序--错误,请修改。"));
                return false;
            }
            if (leftOpen - leftClose != rightClose - rightOpen) {
                calcLog().report(QStringLiteral(" 算式--括号无法配对--错误,请修改。"));
                return false;
            }
        }
        if (bracket) checked = false;
        leftOpen += c == u'(';
        leftClose += c == u')';
    }
    return true;
}

QString ZelFenJieBiaoDaShi(const QString& formula) {
    QString lowered;
    const QStringView t = prepared(formula, lowered);
    if (t.isEmpty()) return QStringLiteral("0");
    const Framed s(t);
    QString spaced;
    try {
        const int errors = adjacencyErrors(s);
        if (errors > 0) {
            reportCounted(errors, QStringLiteral(" 算式中存在多个运算符相临的错误，请修改算式。"));
            return s.toString();
        }
        // An operator takes two spaces more; most formulas have fewer than one in two
        // characters.
        Spacer out(2 * s.size());
        productsSpaced(s, out);
        spaced = out.take();
        bracketsPair(spaced, 1, spaced.size() - 1);
        return spaced;
    } catch (...) {
        calcLog().report(QStringLiteral("  [分解表达式]过程中，") + trimSpaces(formula) +
                         QStringLiteral("出现超出范围错误，我无法计算！"));
        return spaced.isEmpty() ? s.toString() : spaced;
    }
}

namespace {

// simplify() in the text's own characters when it holds them alone and is ASCII: the
// simplified text is never longer and is written behind the place read.
QString simplifyInPlace(QString&& text, bool allPairs) {
    if (!text.isDetached() || !isAscii(text)) return simplify(text, allPairs);
    const QStringView t = trimSpaces(QStringView(text));
    if (t.isEmpty() || t.front().unicode() < u' ') return QStringLiteral("0");
    const qsizetype begin = t.data() - text.constData();
    const qsizetype size = t.size();
    char16_t* p = reinterpret_cast<char16_t*>(text.data());
    text.truncate(simplified(QStringView(p + begin, size), allPairs, p));
    return std::move(text);
}

}  // namespace

QString ZelJianHuaBiaoDaShi(const QString& text) { return simplify(text, false); }

QString ZelJianHuaBiaoDaShi2(const QString& text) { return simplify(text, true); }

QString ZelJianHuaBiaoDaShi(QString&& text) { return simplifyInPlace(std::move(text), false); }

QString ZelJianHuaBiaoDaShi2(QString&& text) { return simplifyInPlace(std::move(text), true); }

}  // namespace hc
