#include "survey/text_table.h"

#include <cmath>

#include "engine/rounding.h"
#include "expr/normalize.h"
#include "survey/projection.h"

namespace hc {

QString TextTable::layOut() const {
    std::vector<int> width;
    for (const QStringList& row : rows_) {
        if (width.size() < size_t(row.size())) width.resize(size_t(row.size()), 0);
        for (qsizetype i = 0; i < row.size(); ++i)
            width[size_t(i)] = std::max(width[size_t(i)], ZelXianShiKuanDu(row[i]));
    }
    QString out;
    for (const QStringList& row : rows_) {
        QString line;
        for (size_t i = 0; i < width.size(); ++i) {
            const QString cell = qsizetype(i) < row.size() ? row[qsizetype(i)] : QString();
            const QString pad(width[i] - ZelXianShiKuanDu(cell), u' ');
            if (i > 0) line += QStringLiteral("  ");
            line += i == 0 ? cell + pad : pad + cell;
        }
        while (line.endsWith(u' ')) line.chop(1);
        out += line + QStringLiteral("\r\n");
    }
    return out;
}

QString fixedText(double value, int places) {
    if (std::isnan(value)) return QString();
    QString s = QString::number(value, 'f', places);
    bool allZero = true;
    for (QChar c : s)
        if (c.isDigit() && c != u'0') allZero = false;
    if (allZero && s.startsWith(u'-')) s.remove(0, 1);
    return s;
}

QString packedText(double degrees, bool wrap) {
    if (std::isnan(degrees)) return QString();
    // On the 0.1 second grid first, so that the packed writer has no carry left to make
    // and five decimals show it exactly.
    double tenths = std::round(degrees * 36000.0);
    if (wrap) {
        tenths = std::fmod(tenths, 360.0 * 36000.0);
        if (tenths < 0) tenths += 360.0 * 36000.0;
    }
    const double packed = ZelBaiFenDuZhuanDuFenMiao(tenths / 36000.0);
    return fixedText(packed, 5);
}

QString secondsText(double seconds) {
    const QString s = fixedText(seconds, 1);
    return s.startsWith(u'-') ? s : u'+' + s;
}

double readNumberField(const QString& text, const QString& what) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw FieldError{QStringLiteral("%1“%2”不是数值").arg(what, text)};
    return v;
}

double readPackedField(const QString& text, const QString& what) {
    const double packed = readNumberField(text, what);
    if (std::fabs(packed) >= kAngleGuard)
        throw FieldError{QStringLiteral("%1“%2”超出角度范围").arg(what, text)};
    if (packedBeyondSixty(packed))
        throw FieldError{
            QStringLiteral("%1“%2”的分或秒不小于 60（角度用 度.分秒 表示）").arg(what, text)};
    return ZelDuFenMiaoZhuanBaiFenDu(packed);
}

QStringList splitFields(const QString& line) {
    const QString t = ZelGuiFanZiFu(line).trimmed();
    if (t.isEmpty() || t.startsWith(u'#')) return {};
    QStringList fields = t.split(u',');
    for (QString& f : fields) f = f.trimmed();
    return fields;
}

QString dataLimitText() { return QStringLiteral("数据超过 %1 行，请分批计算").arg(kMaxDataLines); }

QStringList dataLines(const QString& input) {
    if (input.count(u'\n') + input.count(u'\r') > 2 * qsizetype(kMaxDataLines))
        throw FieldError{dataLimitText()};
    QStringList lines = QString(input)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                            .replace(u'\r', u'\n')
                            .split(u'\n');
    if (lines.size() > kMaxDataLines + 1) throw FieldError{dataLimitText()};
    return lines;
}

}  // namespace hc
