#include "survey/coord_text.h"

#include <cmath>

#include "engine/number.h"
#include "engine/number_reader.h"
#include "engine/rounding.h"
#include "survey/decimal_text.h"
#include "survey/projection.h"

namespace hc {
namespace {

bool digitLike(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-';
}

// The number of a field (ZelQuShuZhi), as the value of its number text.
bool fieldNumber(QStringView field, double& out) {
    qsizetype b = 0;
    qsizetype e = field.size();
    while (b < e && field[b] == u' ') ++b;
    while (e > b && field[e - 1] == u' ') --e;
    if (b == e || field[b].unicode() < u' ') return false;
    qsizetype end = b;
    bool digit = false;
    for (; end < e; ++end) {
        const char16_t c = field[end].unicode();
        const bool isDigit = c >= u'0' && c <= u'9';
        if (!isDigit && c != u'.' && c != u'+' && c != u'-' && c != u'e' && c != u'E') {
            if (!digit) return false;
            break;
        }
        digit = digit || isDigit;
    }
    double v = 0;
    if (!textToDouble(field.mid(b, end - b), v)) return false;
    v = survey_detail::roundTo15(v);
    out = v == 0 ? 0.0 : v;
    return true;
}

// A field as a reason quotes it: trimmed, and cut after 40 characters.
QString quoted(QStringView field) {
    const QStringView t = trimSpaces(field);
    return t.size() > 40 ? t.left(40).toString() + QStringLiteral("…") : t.toString();
}

QString formatted(double v, int minInt, int decimals, int maxDecimals) {
    char buf[400];
    const int n = survey_detail::formatFixed(v, minInt, decimals, maxDecimals, buf);
    return QString::fromLatin1(buf, n);
}

QString padded(const QString& trimmedName, int width) {
    const int w = ZelXianShiKuanDu(trimmedName);
    return w < width ? trimmedName + QString(width - w, u' ') : trimmedName;
}

}  // namespace

const QStringList& separatorChoices() {
    static const QStringList list{
        QStringLiteral(","),  QStringLiteral("*"),   QStringLiteral("/"), QStringLiteral("%"),
        QStringLiteral("$"),  QStringLiteral("#"),   QStringLiteral("@"), QStringLiteral("&"),
        QStringLiteral("!"),  QStringLiteral("?"),   QStringLiteral(";"), QStringLiteral(":"),
        QStringLiteral("\""), QStringLiteral("'"),   QStringLiteral("("), QStringLiteral(")"),
        QStringLiteral("<"),  QStringLiteral(">"),   QStringLiteral("["), QStringLiteral("]"),
        QStringLiteral("{"),  QStringLiteral("}"),   QStringLiteral("|"), QStringLiteral("_"),
        QStringLiteral("\\"), QStringLiteral("Tab"), QStringLiteral(" ")};
    return list;
}

QString separatorOf(const QString& boxText) {
    if (boxText.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\t");
    return boxText;
}

QString ZelFenGeFuSheZhi(const QString& boxText, QString& input) {
    const QString sep = separatorOf(boxText);
    if (sep == QLatin1String(" ")) spaceSeparatedInPlace(input);
    return sep;
}

void spaceSeparatedInPlace(QString& text) {
    text.replace(u'\t', u' ');
    text.replace(QChar(0x3000), u' ');
    text.replace(QLatin1String("     "), QLatin1String(" "));
    text.replace(QLatin1String("    "), QLatin1String(" "));
    text.replace(QLatin1String("   "), QLatin1String(" "));
    text.replace(QLatin1String("  "), QLatin1String(" "));
}

Notices ZelFenGeFuXuanZe(const QString& entry) {
    const QString t = trimSpaces(entry);
    const bool blank = t.isEmpty() || t[0].unicode() < u' ';
    if (!blank && t.compare(QLatin1String("tab"), Qt::CaseInsensitive) != 0) return {};
    return {Notice{QStringLiteral("    [空格]可能造成数据混乱，平时请不要使用[空格]作为分隔符！"
                                  "仅留作转换外来数据时使用一次。"),
                   NoticeButtons::CancelRetryContinue,
                   QStringLiteral("  修改分隔符 -- 石岚 -- 提示  ")}};
}

void halfWidthInPlace(QString& text) {
    bool any = false;
    const QChar* d = text.constData();
    for (qsizetype i = 0, n = text.size(); i < n && !any; ++i) {
        const char16_t c = d[i].unicode();
        any = c >= 0x80 || (c == u' ' && i + 1 < n && d[i + 1] == u' ');
    }
    if (!any) return;
    text.replace(QChar(0x3000), u' ');
    text.replace(QLatin1String("     "), QLatin1String(" "));
    text.replace(QLatin1String("    "), QLatin1String(" "));
    text.replace(QLatin1String("   "), QLatin1String(" "));
    text.replace(QLatin1String("  "), QLatin1String(" "));
    text.replace(QChar(0x2015), u'-');
    text.replace(QChar(0xFF0B), u'+');
    text.replace(QChar(0x00B7), u'.');
    text.replace(QChar(0xFF0E), u'.');
    text.replace(QChar(0xFF0C), u',');
    text.replace(QChar(0xFF03), u'#');
    text.replace(QChar(0xFF20), u'@');
    text.replace(QChar(0xFF0A), u'*');
    text.replace(QChar(0xFF06), u'&');
    text.replace(QChar(0xFF0F), u'/');
}

void halfWidthDigitsInPlace(QString& text) {
    QChar* d = text.data();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c >= 0xFF10 && c <= 0xFF19) {
            d[i] = QChar(u'0' + (c - 0xFF10));
        } else if (c == 0xFF0D) {
            d[i] = u'-';
        } else if (c == 0xFF1B) {
            d[i] = u';';
        }
    }
}

QString ZelQuanJiaoZhuanBanJiao(const QString& text) {
    if (text.isEmpty() || text[0].unicode() < u' ') return {};
    QString t = text;
    halfWidthInPlace(t);
    return t;
}

QString ZelQuShuZhi(const QString& field) {
    double v = 0;
    if (!fieldNumber(field, v)) return {};
    return doubleToText(v);
}

QString noCoordinateDataText() { return QStringLiteral("没有发现坐标数据！"); }

CoordLineReader::CoordLineReader(const QString& separator) : sep_(u',') {
    if (separator.size() == 1 && (separator[0].unicode() >= u' ' || separator[0] == u'\t')) {
        sep_ = separator[0];
    }
}

bool CoordLineReader::readLine(QStringView line, CoordRow& row) {
    failure_.clear();
    int seps = 0;
    int digits = 0;
    bool digit09 = false;
    for (QChar c : line) {
        if (c == sep_) ++seps;
        if (digitLike(c.unicode())) ++digits;
        digit09 = digit09 || (c >= u'0' && c <= u'9');
    }
    // Only a line with the separator and a digit 0-9 looks like data and is told about.
    const bool looksLikeData = seps > 0 && digit09;
    auto fail = [&](const QString& reason) {
        if (looksLikeData) failure_ = reason;
        return false;
    };
    if (seps < 1 || digits <= 1 || digits < seps) {
        return fail(digits <= 1 ? QStringLiteral("只有一个数字字符，不是坐标数据")
                                : QStringLiteral("分隔符比数字字符多"));
    }

    qsizetype b = 0;
    while (b < line.size() && line[b] == u' ') ++b;
    const QStringView t = line.mid(b);
    const bool named = !digitLike(t[0].unicode());

    QStringView fields[4];
    int count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= t.size() && count < 4; ++i) {
        if (i == t.size() || t[i] == sep_) {
            fields[count++] = t.mid(start, i - start);
            start = i + 1;
        }
    }
    const int at = named ? 1 : 0;
    double first = 0;
    double second = 0;
    if (count < at + 2) return fail(QStringLiteral("坐标不足两个"));
    if (!fieldNumber(fields[at], first)) {
        return fail(QStringLiteral("第一个坐标不是数字: ") + quoted(fields[at]));
    }
    if (!fieldNumber(fields[at + 1], second)) {
        return fail(QStringLiteral("第二个坐标不是数字: ") + quoted(fields[at + 1]));
    }
    ++rows_;
    double height = 0;
    row.hasHeight = count > at + 2 && fieldNumber(fields[at + 2], height);
    row.height = row.hasHeight ? height : 0;
    row.badHeight.clear();
    if (count > at + 2 && !row.hasHeight && !trimSpaces(fields[at + 2]).isEmpty()) {
        row.badHeight = fields[at + 2].toString();
    }
    row.first = first;
    row.second = second;
    if (named) {
        // Trailing spaces of the name stay as written.
        row.name = fields[0].toString();
    } else {
        row.name = QStringLiteral("D%1").arg(rows_, 3, 10, QChar(u'0'));
    }
    return true;
}

namespace {

// A packed angle as degrees, minutes and seconds with marks, as the reader takes it:
// 39.7000 is taken as 40°00′00″.
QString takenAngle(double packed) {
    const double degrees = ZelDuFenMiaoZhuanBaiFenDu(packed);
    const double p = std::fabs(ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(degrees), 8));
    char buf[64];
    const QString t = QString::fromLatin1(buf, survey_detail::formatFixed(p, 1, 8, 8, buf));
    const qsizetype point = t.indexOf(u'.');
    QString seconds = t.mid(point + 3, 2);
    QString fraction = t.mid(point + 5);
    while (fraction.endsWith(u'0')) fraction.chop(1);
    if (!fraction.isEmpty()) seconds += u'.' + fraction;
    return (degrees < 0 ? QStringLiteral("-") : QString()) + t.left(point) + u'°' +
           t.mid(point + 1, 2) + u'′' + seconds + u'″';
}

}  // namespace

QStringList coordRowNotices(const CoordRow& row, bool geographic) {
    QStringList notices;
    const bool first = geographic && packedBeyondSixty(row.first);
    const bool second = geographic && packedBeyondSixty(row.second);
    if (!first && !second && row.badHeight.isEmpty()) return notices;
    const QString head = QStringLiteral("第 ") + QString::number(row.line) +
                         QStringLiteral(" 行（") + trimSpaces(row.name) + QStringLiteral("）");
    auto angle = [&](const QString& word, double value) {
        notices << head + word + doubleToText(value) + QStringLiteral(" 的分或秒达到 60，按 ") +
                       takenAngle(value) + QStringLiteral(" 计算");
    };
    if (first) angle(QStringLiteral("第一个坐标 "), row.first);
    if (second) angle(QStringLiteral("第二个坐标 "), row.second);
    if (!row.badHeight.isEmpty()) {
        notices << head + QStringLiteral("高程 ") + quoted(row.badHeight) +
                       QStringLiteral(" 不是数字，按 0 计算");
    }
    return notices;
}

QString echoLine(const CoordRow& row, QChar separator) {
    const QString sep = QStringLiteral(" ") + separator + QStringLiteral(" ");
    QString line = padded(trimSpaces(row.name), 4);
    line += sep + formatted(row.first, 2, 4, 8);
    line += sep + formatted(row.second, 2, 4, 8);
    if (row.hasHeight) line += sep + formatted(row.height, 2, 3, 3);
    line += QLatin1String("\r\n");
    return line;
}

QString ZelJieXiZuoBiao(const QString& text, int& n, QList<CoordRow>& rows,
                        const QString& separator) {
    rows.clear();
    const int limit = n;
    n = 0;
    QString t = trimSpaces(text);
    if (limit < 1 || t.isEmpty() || t[0].unicode() < u' ') return noCoordinateDataText();
    t = ZelQuanJiaoZhuanBanJiao(t);

    CoordLineReader reader(separator);
    QString echo;
    CoordRow row;
    const QChar* d = t.constData();
    const qsizetype size = t.size();
    qsizetype start = 0;
    int line = 0;
    while (start <= size && n < limit) {
        qsizetype end = start;
        while (end < size && d[end] != u'\r' && d[end] != u'\n') ++end;
        ++line;
        if (reader.readLine(QStringView(d + start, end - start), row)) {
            row.line = line;
            ++n;
            rows.append(row);
            echo += echoLine(row, reader.separator());
        }
        if (end < size && d[end] == u'\r' && end + 1 < size && d[end + 1] == u'\n') ++end;
        start = end + 1;
    }
    if (n == 0) return noCoordinateDataText();
    return echo;
}

CoordOrder ZelJingWeiShunXu(const QList<CoordRow>& rows, int n, AxisOrder mode) {
    n = std::min<int>(n, static_cast<int>(rows.size()));
    if (n < 1) return {mode, {}};
    double fMin = rows[0].first;
    double fMax = fMin;
    double sMin = rows[0].second;
    double sMax = sMin;
    for (int i = 1; i < n; ++i) {
        fMin = std::min(fMin, rows[i].first);
        fMax = std::max(fMax, rows[i].first);
        sMin = std::min(sMin, rows[i].second);
        sMax = std::max(sMax, rows[i].second);
    }
    const bool firstLat = std::fabs(fMin) <= 90 && std::fabs(fMax) <= 90;
    const bool secondLat = std::fabs(sMin) <= 90 && std::fabs(sMax) <= 90;
    AxisOrder order = mode;
    if (mode == AxisOrder::YXZ && firstLat && !secondLat) order = AxisOrder::XYZ;
    if (mode == AxisOrder::XYZ && secondLat && !firstLat) order = AxisOrder::YXZ;

    const bool lonSecond = order == AxisOrder::XYZ;
    const double lonMin = ZelDuFenMiaoZhuanBaiFenDu(lonSecond ? sMin : fMin);
    const double lonMax = ZelDuFenMiaoZhuanBaiFenDu(lonSecond ? sMax : fMax);

    QString remark;
    if (order != mode) {
        remark += QLatin1String("\r\n\r\n");
        remark += orderRemark(order);
    }
    if (std::fabs(lonMin) > 180 || std::fabs(lonMax) > 180) {
        remark += QLatin1String("\r\n\r\n");
        remark += longitudeRemark();
    }
    return {order, remark};
}

QString orderRemark(AxisOrder detected) {
    return detected == AxisOrder::XYZ ? QStringLiteral("备注∴原始数据按纬度在前 X Y Z 型处理∴")
                                      : QStringLiteral("备注∴原始数据按经度在前 Y X Z 型处理∴");
}

QString longitudeRemark() { return QStringLiteral("备注∴原始数据的经度大于180度错误∴"); }

QString formatNorthing(double x) { return formatted(x, 7, 3, 3); }
QString formatEasting(double y) { return formatted(y, 8, 3, 3); }
QString formatLatitude(double b) { return formatted(b, 2, 8, 8); }
QString formatLongitude(double l) { return formatted(l, 3, 8, 8); }
QString formatScale(double k) { return formatted(k, 1, 10, 10); }

QString nameColumn(const QString& name, int width) {
    return padded(trimSpaces(name), width) + QLatin1String(" , ");
}

int nameColumnWidth(const QList<CoordRow>& rows, int n) {
    int width = 0;
    n = std::min<int>(n, static_cast<int>(rows.size()));
    for (int i = 0; i < n; ++i) width = std::max(width, ZelXianShiKuanDu(trimSpaces(rows[i].name)));
    return width;
}

QString ZelShuChuHang(const QString& names, const QString& first, const QString& second,
                      double height, const QString& remark) {
    return ZelShuChuHang(names, first, second, height, remark, QString());
}

QString ZelShuChuHang(const QString& names, const QString& first, const QString& second,
                      double height, const QString& remark, const QString& extra) {
    QString row = names;
    row += first;
    row += QLatin1String(" , ");
    row += second;
    if (height != 0) {
        row += QLatin1String(" , ");
        row += formatted(height, 1, 3, 3);
    }
    row += extra;
    row += u' ';
    row += remark;
    row += QLatin1String("\r\n");
    return row;
}

QString gridHeader(ZoneWidth width, const QString& datumText) {
    QString h = width == ZoneWidth::Six     ? QStringLiteral("﹌﹌﹌以下为６度带")
                : width == ZoneWidth::Three ? QStringLiteral("﹌﹌﹌以下为３度带")
                                            : QStringLiteral("﹌﹌﹌以下为１.５度带");
    return h + datumText + QStringLiteral("系公里网坐标……单位【米】﹌﹌﹌\r\n");
}

QString geographicHeader() { return QStringLiteral("●●●以下坐标为经纬度……度.分秒格式●●●\r\n"); }

}  // namespace hc
