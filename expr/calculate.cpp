#include "expr/calculate.h"

#include "engine/calc_log.h"
#include "engine/num.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"
#include "expr/evaluate.h"
#include "expr/normalize.h"
#include "expr/validate.h"

namespace hc {

namespace {

const QString kGenericError = QStringLiteral("算式中存在严重错误，请查找原因，修改算式后再计算。");

}  // namespace

QString ZelXianShiJieGuo(const QString& result, bool approximate, int decimals) {
    QString text = result;
    const qsizetype point = text.indexOf(u'.');
    const qsizetype k = point < 0 ? text.size() : point;
    if (k < 30) text.prepend(QString(30 - k, u' '));
    if (approximate && text.startsWith(QStringLiteral("    ")))
        text.replace(0, 4, QStringLiteral("约数"));
    if (!text.contains(u'E', Qt::CaseInsensitive)) {
        if (ZelXianShiKuanDu(text) == 30) text.append(u'.');
        const int fill = decimals + 31 - ZelXianShiKuanDu(text);
        if (fill > 0) text.append(QString(fill, approximate ? u' ' : u'_'));
    }
    return text;
}

QString cancelledStatusText() { return QStringLiteral("计算已取消，算式未作改动。"); }

CalcResult ZelJiSuanSuanShi(const QString& formula, const CalcSettings& settings,
                            const CancelFlag* cancel) {
    ScopedCalcLog scope;
    CalcLog& st = scope.log();
    CalcResult out;
    out.result = QStringLiteral("正在计算，因计算步骤复杂，可能需要一段时间，请稍等。。。。。。");
    out.status = QStringLiteral(
        "\u3000\u3000请在重要计算时仔细核对运算成果，多次运算后尾部采用近似值表示。如有计算错误，"
        "给您带来不便请谅解，向程序员报错可给予物质奖励。");
    out.formula = formula;
    try {
        ZelChongZhi();
        out.formula = ZelGuiFanSuanShi(out.formula);
        ZelChongZhi();
        out.formula = ZelFenJieBiaoDaShi(out.formula);

        QString value = st.errorCount > 0
                            ? QStringLiteral("Error")
                            : trimSpaces(ZelBiaoDaShiJiSuan(out.formula, settings, cancel));

        bool approximate = false;
        const int limit = st.precisionLimit;
        if (limit < ZelYouXiao109ChangDu(Num::ofText(value))) {
            out.status =
                QStringLiteral("在运算中，某函数运算结果的有效数字较少，经混合运算后，可能从第") +
                QString::number(limit + 1) +
                QStringLiteral("位有效数字后不能满足精度要求，后部应于删除。");
            approximate = true;
            value = ZelYouXiaoChangDu(Num::ofText(value), limit);
        }
        out.value = value;
        out.result = ZelXianShiJieGuo(value, approximate, settings.displayDecimals);

        if (st.errorCount > 0) {
            out.failed = true;
            out.result = st.firstMessage.isEmpty() ? kGenericError : st.firstMessage;
            out.status = trimSpaces(st.errorLog);
        }
    } catch (const Cancelled&) {
        CalcResult stopped;
        stopped.formula = formula;
        stopped.status = cancelledStatusText();
        stopped.cancelled = true;
        return stopped;
    } catch (...) {
        // The routines report their failures in the calculation state and do not
        // throw; should one do so all the same, the formula fails as a whole.
        out.failed = true;
        out.result = st.firstMessage.isEmpty() ? kGenericError : st.firstMessage;
        out.status = trimSpaces(st.errorLog);
        out.value = QStringLiteral("Error");
    }
    out.notices = std::move(st.notices);
    return out;
}

}  // namespace hc
