#include "expr/prepared_formula.h"

#include "engine/calc_log.h"
#include "engine/text_trim.h"
#include "expr/evaluate.h"
#include "expr/normalize.h"
#include "expr/validate.h"

namespace hc {

namespace {

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isVariable(const QString& s, qsizetype i) {
    const QChar c = s[i].toLower();
    if (c < u'r' || c > u'z') return false;
    const bool letterBefore = i > 0 && isAsciiLetter(s[i - 1]);
    const bool letterAfter = i + 1 < s.size() && isAsciiLetter(s[i + 1]);
    return !letterBefore && !letterAfter;
}

// True when the "-" at i follows an operator whose right operand it signs.
bool unaryAfterOperator(const QString& s, qsizetype i) {
    qsizetype p = i - 1;
    while (p >= 0 && s[p] == u' ') --p;
    if (p < 0) return false;
    const QChar c = s[p];
    if (c == u'*' || c == u'/' || c == u'\\' || c == u'^') return true;
    // A function name: two letters or more (a single letter is a variable or an exponent).
    return isAsciiLetter(c) && p > 0 && isAsciiLetter(s[p - 1]);
}

// End (exclusive) of the operand starting at i: a variable or a bracketed group; -1
// when there is none.
qsizetype operandEnd(const QString& s, qsizetype i) {
    if (i >= s.size()) return -1;
    if (s[i] == u'(') {
        int depth = 0;
        for (qsizetype k = i; k < s.size(); ++k) {
            if (s[k] == u'(') ++depth;
            if (s[k] == u')' && --depth == 0) return k + 1;
        }
        return -1;
    }
    return isVariable(s, i) ? i + 1 : -1;
}

}  // namespace

QString negatedOperandsAsDifferences(const QString& s) {
    QString out;
    out.reserve(s.size() + 8);
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'-' && unaryAfterOperator(s, i)) {
            qsizetype start = i + 1;
            while (start < s.size() && s[start] == u' ') ++start;
            const qsizetype end = operandEnd(s, start);
            qsizetype next = end;
            while (next >= 0 && next < s.size() && s[next] == u' ') ++next;
            // A power, factorial or percent binds tighter than the sign: left alone.
            const bool bindsTighter = next >= 0 && next < s.size() &&
                                      (s[next] == u'^' || s[next] == u'!' || s[next] == u'%');
            if (end > 0 && !bindsTighter) {
                out += QStringLiteral("(0-");
                out += negatedOperandsAsDifferences(s.mid(start, end - start));
                out += u')';
                i = end - 1;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

PreparedFormula::PreparedFormula(const QString& formula) {
    ScopedCalcLog scope;
    CalcLog& log = scope.log();
    try {
        ZelChongZhi();
        QString t = negatedOperandsAsDifferences(ZelGuiFanSuanShi(formula));
        ZelChongZhi();
        text_ = ZelFenJieBiaoDaShi(t);
        ok_ = log.errorCount == 0;
        if (!ok_) message_ = trimSpaces(log.firstMessage);
    } catch (...) {
        ok_ = false;
        message_ = trimSpaces(log.firstMessage);
    }
    if (!ok_ && message_.isEmpty())
        message_ = QStringLiteral("算式中存在严重错误，请查找原因，修改算式后再计算。");
}

FormulaValue PreparedFormula::evaluate(const CalcSettings& settings,
                                       const CancelFlag* cancel) const {
    FormulaValue out;
    if (!ok_) {
        out.message = message_;
        return out;
    }
    CalcSettings wide = settings;
    wide.displayDecimals = Decimal::kMaxScale;
    ScopedCalcLog scope;
    CalcLog& log = scope.log();
    QString v;
    try {
        v = trimSpaces(ZelBiaoDaShiJiSuan(text_, wide, cancel));
    } catch (const Cancelled&) {
        throw;
    } catch (...) {
        log.report(QString());
    }
    if (log.errorCount > 0) {
        out.message = trimSpaces(log.firstMessage);
        if (out.message.isEmpty())
            out.message = QStringLiteral("算式中存在严重错误，请查找原因，修改算式后再计算。");
        return out;
    }
    if (!Decimal::tryFromText(v, out.value)) {
        out.message = v + QStringLiteral(" 数值超出计算范围。");
        return out;
    }
    out.ok = true;
    out.digits = log.precisionLimit;
    return out;
}

}  // namespace hc
