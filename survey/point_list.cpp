#include "survey/point_list.h"

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

struct Reader {
    PointListMode mode;
    PointList list;
    PointRow row;
    int field = 1;

    void store(QStringView text) {
        const QStringView trimmed = trimSpaces(text);
        const int number = mode == PointListMode::Grid ? field : field + 1;
        ++field;
        if (!present(trimmed)) return;
        if (mode == PointListMode::Geographic) row.name = QString::number(list.rowCount() + 1);
        switch (number) {
            case 1:
                row.name = trimmed.toString();
                break;
            case 2:
                row.x = ZelShuZhuanShu(text);
                break;
            case 3:
                row.y = ZelShuZhuanShu(text);
                break;
            case 4:
                row.h = ZelShuZhuanShu(text);
                break;
            case 5:
                row.extra = ZelShuZhuanShu(text);
                break;
            default:
                break;
        }
    }

    void closeRow() {
        list.rows.append(std::move(row));
        row = PointRow();
        field = 1;
    }
};

// Reads the cleaned text; false when a line break is a CR followed directly by a
// comma or another CR, which leaves no room for the field after it.
bool split(const QString& t, PointListMode mode, PointList& out) {
    Reader r{mode, {}, {}, 1};
    r.list.rows.reserve(t.count(u'\r'));
    const qsizetype last = t.size() - 1;  // the walk stops before the final character
    qsizetype start = 0;
    for (qsizetype i = 0; i < last; ++i) {
        const char16_t c = t[i].unicode();
        if (c == u',') {
            r.store(QStringView(t).sliced(start, i - start));
            start = i + 1;
        } else if (c == u'\r') {
            r.store(QStringView(t).sliced(start, i - start));
            r.closeRow();
            if (i + 1 < last && (t[i + 1] == u',' || t[i + 1] == u'\r')) return false;
            start = i + 2;
            ++i;
        }
    }
    out = std::move(r.list);
    return true;
}

QString layOut(const PointList& list) {
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

}  // namespace

QString uselessCharacterMessage() {
    return QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。");
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
    try {
        // The text is cleaned as " " + trimmed text + ("\r\n" unless it ends a line) + " ".
        const QStringView trimmed = trimSpaces(QStringView(text));
        const QStringView ending = trimmed.endsWith(u'\n') ? u" " : u"\r\n ";
        QString cleaned(trimmed.size() + 1 + ending.size(), Qt::Uninitialized);
        QChar* out = cleaned.data();
        *out++ = u' ';
        const Notice removed{uselessCharacterMessage(), NoticeButtons::Ok, QString()};
        for (const QChar ch : trimmed) {
            const char16_t c = mapped(ch.unicode());
            if (kept(c)) {
                *out++ = QChar(c);
            } else {
                calcLog().notify(removed);
            }
        }
        for (const QChar ch : ending) *out++ = ch;
        cleaned.truncate(out - cleaned.constData());

        PointList list;
        if (!split(cleaned, mode, list)) return r;
        QString laidOut = layOut(list);
        r.points = std::move(list);
        r.text = std::move(laidOut);
    } catch (...) {
        r.points = PointList();
        r.text = text;
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
