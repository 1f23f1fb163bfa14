#include "expr/validate.h"

#include <algorithm>
#include <string_view>

#include "engine/calc_log.h"
#include "engine/text_trim.h"
#include "expr/char_classes.h"

namespace hc {

namespace {

// The trimmed, lower-cased text, or an empty text when the formula counts as empty.
QString prepared(const QString& text) {
    QString t = trimSpaces(text.toLower());
    if (t == QStringLiteral("空算式错误") || t.isEmpty() || t.front().unicode() < u' ')
        return QString();
    return t;
}

QString withoutSpaces(const QString& t) {
    QString out;
    out.reserve(t.size());
    for (QChar c : t)
        if (c != u' ' && c != QChar(0x3000)) out.append(c);
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

int adjacencyErrors(const QString& s) {
    int errors = 0;
    for (qsizetype i = 1; i + 1 < s.size(); ++i) {
        const QChar c = s[i];
        const QChar prev = s[i - 1];
        const QChar next = s[i + 1];
        if (i == 1 && inSet(c, u"\\/*^!%")) ++errors;
        if (i == 1 && c == u'e' && (next == u'-' || next == u'+' || isDigit(next))) ++errors;
        if (c == u'(' && inSet(next, u"*/^\\)!%")) ++errors;
        if (c == u')' && inSet(prev, u"-+*/^\\(")) ++errors;
        if ((c == u'!' || c == u'%') && inSet(prev, u"-+*/^\\(")) ++errors;
        if (inSet(c, u"^/*\\") && inSet(prev, u"-+*/^\\(")) ++errors;
        if (inSet(c, u"^/*\\+-") && inSet(next, u"*/^\\)!%")) ++errors;
        if (c == u'.' && isLetter(next)) ++errors;
    }
    return errors;
}

// Where the last applicable rule puts a "*" next to the character.
enum class Insert { None, Before, After };

Insert implicitProduct(QChar prev, QChar c, QChar next) {
    const bool operandAfter = isDigit(next) || next == u'π' || next == u'ε' || isLetter(next);
    const bool operandBefore = isDigit(prev) || inSet(prev, u"πε!%");
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

// The text is scanned as it grows: a "*" put before a character moves that character
// one place on, where it is looked at once more (with the "*" now before it).
QString insertProducts(const QString& s) {
    QString out;
    out.reserve(s.size() * 2);
    out.append(s[0]);
    const qsizetype last = s.size() - 1;
    for (qsizetype i = 1; i < last; ++i) {
        const QChar c = s[i];
        Insert ins = implicitProduct(out.back(), c, s[i + 1]);
        if (ins == Insert::Before) {
            out.append(u'*');
            ins = implicitProduct(out.back(), c, s[i + 1]);
        }
        out.append(c);
        if (ins == Insert::After) out.append(u'*');
    }
    out.append(s[last]);
    return out;
}

QString spaceOperators(const QString& s) {
    QString out;
    out.reserve(s.size() * 3);
    out.append(s[0]);
    const qsizetype last = s.size() - 1;
    for (qsizetype i = 1; i < last; ++i) {
        const QChar c = s[i];
        const QChar prev = out.back();
        if (inSet(c, u")(^/*\\") || ((c == u'+' || c == u'-') && prev != u' ' && prev != u'e')) {
            out.append(u' ');
            out.append(c);
            out.append(u' ');
        } else {
            out.append(c);
        }
    }
    out.append(s[last]);
    return out;
}

}  // namespace

bool bracketsPair(QStringView s, qsizetype from, qsizetype end) {
    qsizetype totalOpen = 0;
    qsizetype totalClose = 0;
    for (QChar c : s) {
        totalOpen += c == u'(';
        totalClose += c == u')';
    }
    qsizetype leftOpen = 0;
    qsizetype leftClose = 0;
    for (QChar c : s.first(std::min(from, s.size()))) {
        leftOpen += c == u'(';
        leftClose += c == u')';
    }
    for (qsizetype i = from; i < end && i < s.size(); ++i) {
        const QChar c = s[i];
        if (!isBracket(c)) {
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
        leftOpen += c == u'(';
        leftClose += c == u')';
    }
    return true;
}

QString ZelFenJieBiaoDaShi(const QString& formula) {
    const QString t = prepared(formula);
    if (t.isEmpty()) return QStringLiteral("0");
    QString s = u' ' + t + u' ';
    try {
        const int errors = adjacencyErrors(s);
        if (errors > 0) {
            reportCounted(errors, QStringLiteral(" 算式中存在多个运算符相临的错误，请修改算式。"));
            return s;
        }
        s = spaceOperators(insertProducts(s));
        bracketsPair(s, 1, s.size() - 1);
        return s;
    } catch (...) {
        calcLog().report(QStringLiteral("  [分解表达式]过程中，") + trimSpaces(formula) +
                         QStringLiteral("出现超出范围错误，我无法计算！"));
        return s;
    }
}

QString ZelJianHuaBiaoDaShi(const QString& text) {
    const QString t = prepared(text);
    if (t.isEmpty()) return QStringLiteral("0");
    const QString s = withoutSpaces(t);
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c == u'+' && !out.isEmpty() && (out.back() == u'+' || out.back() == u'-')) continue;
        out.append(c);
    }
    return out;
}

QString ZelJianHuaBiaoDaShi2(const QString& text) {
    const QString t = prepared(text);
    if (t.isEmpty()) return QStringLiteral("0");
    const QString s = withoutSpaces(t);
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const bool sign = c == u'+' || c == u'-';
        if (sign && !out.isEmpty() && (out.back() == u'+' || out.back() == u'-')) {
            out.back() = out.back() == c ? QChar(u'+') : QChar(u'-');
            continue;
        }
        out.append(c);
    }
    return out;
}

}  // namespace hc
