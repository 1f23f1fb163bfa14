#include "calculator/result_copy.h"

#include <QRegularExpression>

namespace hc {

QString plainResult(const QString& shown) {
    const QString trimmed = shown.trimmed();
    QString s = trimmed;
    if (s.startsWith(QStringLiteral("约数"))) s = s.mid(2).trimmed();
    while (s.endsWith(QLatin1Char('_')) || s.endsWith(QLatin1Char(' '))) s.chop(1);
    static const QRegularExpression number(
        QStringLiteral("^[+-]?[0-9]+(\\.[0-9]*)?([Ee][+-]?[0-9]+)?$"));
    if (!number.match(s).hasMatch()) return trimmed;
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    return s;
}

}  // namespace hc
