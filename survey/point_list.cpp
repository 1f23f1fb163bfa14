#include "survey/point_list.h"

#include <algorithm>
#include <array>

#include "engine/calc_log.h"
#include "survey/aligned_columns.h"

namespace hc {
namespace {

char16_t mapped(char16_t c) {
    switch (c) {
        case u'＋':
        case u'╋':
        case u'┼':
            return u'+';
        case u'_':
        case u'＿':
        case u'－':
        case u'±':
        case u'―':
        case u'—':
        case u'─':
        case u'━':
            return u'-';
        case u'\u3000':
            return u' ';
        case u'．':
        case u'。':
        case u'、':
            return u'.';
        case u'，':
        case u';':
        case u'；':
        case u'／':
        case u'/':
            return u',';
        default:
            return c;
    }
}

bool kept(char16_t c) {
    return (c >= 0x41 && c <= 0x7A) || (c >= u'0' && c <= u'9') || c == u',' || c == u'.' ||
           c == u'-' || c == u'+' || c == u' ' || c <= 13;
}

// Leading and trailing spaces removed, not empty and not starting with a control
// character.
bool present(QStringView trimmed) { return !trimmed.isEmpty() && trimmed.front() >= u' '; }

// How a removed character is named in the notice: itself, or its code when it
// shows as nothing.
QString shown(char32_t c) {
    if (QChar::isPrint(c) && !QChar::isSpace(c)) return QString::fromUcs4(&c, 1);
    return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
}

constexpr int kFieldShown = 20;  // characters of a bad field quoted in its notice

// Reads the cleaned text; false when a line break is a CR followed directly by a
// comma or another CR, which leaves no room for the field after it.
bool split(const QString& t, PointRowReader& reader, PointList& out) {
    PointList list;
    list.rows.reserve(t.count(u'\r'));
    const qsizetype last = t.size() - 1;  // the walk stops before the final character
    qsizetype start = 0;
    for (qsizetype i = 0; i < last; ++i) {
        if (t[i] != u'\r') continue;
        list.rows.append(reader.read(QStringView(t).sliced(start, i - start)));
        if (i + 1 < last && (t[i + 1] == u',' || t[i + 1] == u'\r')) return false;
        start = i + 2;
        ++i;
    }
    out = std::move(list);
    return true;
}

QString layOut(const PointList& list, PointListMode mode) {
    if (mode == PointListMode::Grid) {
        AlignedColumns columns(list.rows.size());
        for (const PointRow& row : list.rows) {
            columns.add(row.name);
            columns.add(row.x.text());
            columns.add(row.y.text());
            columns.add(row.h.text());
            columns.add(row.extra.text());
        }
        return columns.layOut({true, false, false, true, true});
    }
    // Geographic rows have no name field: the row numbers stay out of the text, so
    // that reading it again gives the same points.
    std::array<qsizetype, 4> width{};
    for (const PointRow& row : list.rows) {
        const Num* values[] = {&row.x, &row.y, &row.h, &row.extra};
        for (size_t i = 0; i < width.size(); ++i)
            width[i] = std::max(width[i], values[i]->text().size());
    }
    QString out;
    for (const PointRow& row : list.rows) {
        const QString texts[] = {row.x.text(), row.y.text(), row.h.text(), row.extra.text()};
        for (size_t i = 0; i < width.size(); ++i) {
            const qsizetype pad = width[i] - texts[i].size();
            if (i >= 2) out.resize(out.size() + pad, u' ');
            out += texts[i];
            if (i < 2) out.resize(out.size() + pad, u' ');
            out += i + 1 < width.size() ? QLatin1String(" ,") : QLatin1String("\r\n");
        }
    }
    return out;
}

}  // namespace

QString uselessCharacterMessage() {
    return QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。");
}

void PointListNotes::removed(char32_t c) {
    ++removedCount_;
    if (removedShown_.size() > kShown || removedShown_.contains(c)) return;
    removedShown_.append(c);
}

void PointListNotes::notANumber(qint64 row, int column, QStringView text) {
    ++badCount_;
    if (badShown_.size() >= kShown) return;
    QString quoted = text.left(kFieldShown).toString();
    if (text.size() > kFieldShown) quoted += u'…';
    badShown_.append(QStringLiteral("第 %1 行第 %2 列“%3”").arg(row).arg(column).arg(quoted));
}

Notices PointListNotes::notices() const {
    Notices out;
    if (removedCount_ > 0) {
        QStringList names;
        for (qsizetype i = 0; i < removedShown_.size() && i < kShown; ++i)
            names.append(shown(removedShown_[i]));
        QString list = names.join(u'、');
        if (removedShown_.size() > kShown) list += QStringLiteral("等");
        out.append(
            Notice{uselessCharacterMessage() +
                       QStringLiteral("（共清除 %1 个字符：%2）").arg(removedCount_).arg(list),
                   NoticeButtons::Ok, QString()});
    }
    if (badCount_ > 0) {
        QString text = QStringLiteral("有 %1 个数据不是数值，已按 0 计算：").arg(badCount_) +
                       badShown_.join(QStringLiteral("，"));
        if (badCount_ > badShown_.size()) text += QStringLiteral("……");
        text += u'。';
        out.append(Notice{text, NoticeButtons::Ok, QString()});
    }
    return out;
}

void PointRowReader::clean(QStringView raw, QString& out) {
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = mapped(raw[i].unicode());
        if (kept(c)) {
            out.append(QChar(c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && raw[i + 1].isLowSurrogate()) {
            notes_.removed(QChar::surrogateToUcs4(c, raw[i + 1].unicode()));
            ++i;
        } else {
            notes_.removed(c);
        }
    }
}

Num PointRowReader::number(QStringView field, int column) {
    EngineReport report;
    const Num v = checkedCall([&] { return ZelShuZhuanShu(field); }, report);
    if (!report.ok()) notes_.notANumber(rows_, column, trimSpaces(field));
    return v;
}

PointRow PointRowReader::read(QStringView cleaned) {
    ++rows_;
    PointRow row;
    int field = 0;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = cleaned.indexOf(u',', start);
        if (end < 0) end = cleaned.size();
        ++field;
        const int position = mode_ == PointListMode::Grid ? field : field + 1;
        const QStringView text = cleaned.sliced(start, end - start);
        const QStringView trimmed = trimSpaces(text);
        if (present(trimmed)) {
            if (mode_ == PointListMode::Geographic) row.name = QString::number(rows_);
            switch (position) {
                case 1:
                    row.name = trimmed.toString();
                    break;
                case 2:
                    row.x = number(text, field);
                    break;
                case 3:
                    row.y = number(text, field);
                    break;
                case 4:
                    row.h = number(text, field);
                    break;
                case 5:
                    row.extra = number(text, field);
                    break;
                default:
                    break;
            }
        }
        if (end == cleaned.size()) break;
        start = end + 1;
    }
    return row;
}

int PointList::findName(const QString& name) const {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name) return name.isEmpty() ? 0 : static_cast<int>(i + 1);
    }
    return 0;
}

PointListReading ZelZhengLiDianBiao(const QString& text, PointListMode mode) {
    PointListReading r;
    r.text = text;
    if (text.size() < 2) return r;
    PointRowReader reader(mode);
    try {
        // The text is cleaned as " " + trimmed text + ("\r\n" unless it ends a line) + " ".
        const QStringView trimmed = trimSpaces(QStringView(text));
        QString cleaned;
        cleaned.reserve(trimmed.size() + 4);
        cleaned.append(u' ');
        reader.clean(trimmed, cleaned);
        cleaned.append(trimmed.endsWith(u'\n') ? QStringView(u" ") : QStringView(u"\r\n "));

        PointList list;
        if (split(cleaned, reader, list)) {
            QString laidOut = layOut(list, mode);
            r.points = std::move(list);
            r.text = std::move(laidOut);
        }
    } catch (...) {
        r.points = PointList();
        r.text = text;
    }
    try {
        r.notices = reader.notes().notices();
        r.notANumberCount = reader.notes().notANumberCount();
    } catch (...) {
    }
    return r;
}
Decimal coordinateValue(const Num& v) {
    if (isBlankText(v)) return Decimal(0);
    return v.toDecimal();
}

QStringList pointNameEntries(const PointList& points) {
    QStringList names;
    names.reserve(points.rows.size() + 1);
    names.append(QStringLiteral("0"));
    for (const PointRow& row : points.rows) names.append(row.name);
    return names;
}

}  // namespace hc
