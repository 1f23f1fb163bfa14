#include "tools/statistics_command.h"

#include "engine/calc_log.h"
#include "engine/number.h"
#include "engine/rounding.h"
#include "expr/normalize.h"
#include "tools/statistics.h"

namespace hc {

const QStringList& statSeparatorChoices() {
    static const QStringList list{
        QStringLiteral("*"),  QStringLiteral("/"),   QStringLiteral(","), QStringLiteral("%"),
        QStringLiteral("$"),  QStringLiteral("#"),   QStringLiteral("@"), QStringLiteral("&"),
        QStringLiteral("!"),  QStringLiteral("?"),   QStringLiteral(";"), QStringLiteral(":"),
        QStringLiteral("\""), QStringLiteral("'"),   QStringLiteral("("), QStringLiteral(")"),
        QStringLiteral("<"),  QStringLiteral(">"),   QStringLiteral("["), QStringLiteral("]"),
        QStringLiteral("{"),  QStringLiteral("}"),   QStringLiteral("|"), QStringLiteral("_"),
        QStringLiteral("-"),  QStringLiteral("\\"),  QStringLiteral("^"), QStringLiteral("~"),
        QStringLiteral("`"),  QStringLiteral("Tab"), QStringLiteral(" ")};
    return list;
}

const std::array<QString, kStatRows>& statRowCaptions() {
    static const std::array<QString, kStatRows> captions{
        QStringLiteral("频数N "),    QStringLiteral("Min ="),    QStringLiteral("Max ="),
        QStringLiteral("平均值"),    QStringLiteral("合计数"),   QStringLiteral("均方差"),
        QStringLiteral("方差"),      QStringLiteral("变异系数"), QStringLiteral("方差n"),
        QStringLiteral("变异 系数n")};
    return captions;
}

const std::array<QString, kStatRows>& statRowTips() {
    static const std::array<QString, kStatRows> tips{
        QStringLiteral("数据的个数"),
        QStringLiteral("最小值 min"),
        QStringLiteral("最大值 max"),
        QStringLiteral("合计数 / 频数"),
        QStringLiteral("个个数据的总和"),
        QStringLiteral("把{方差}开方"),
        QStringLiteral("Σ（(Xi-Xp平均值)^2 /(N-1)）  一般应采用此值计算==>方差、均方差、变异系数"),
        QStringLiteral("= 均方差 / 平均值"),
        QStringLiteral("Σ（(Xi-Xp平均值)^2 /N）   {方差}的除数为（N-1）,{方差n}的除数为N。"),
        QStringLiteral("= 均方差n / 平均值    （即为把方差n开方后除以平均值）")};
    return tips;
}

QString spaceSeparatorWarning() {
    return QStringLiteral(
        "    "
        "[空格]可能造成数据混乱，平时请不要使用[空格]作为分隔符！仅留作转换外来数据时使用一次。");
}

QString spaceSeparatorConversion() {
    return spaceSeparatorWarning() +
           QStringLiteral("本人在数据处理时，自动强制把空格改用 * 代替。");
}

QString separatorWarningTitle() { return QStringLiteral("  修改分隔符 -- 石岚 -- 提示  "); }

namespace {

bool isTabName(const QString& s) {
    return s.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0;
}

QString separatorName(const QString& sep) {
    return sep == QLatin1String("\t") ? QStringLiteral("Tab") : sep;
}

QString separatorSwitchNoticeText(const QString& from, const QString& to) {
    return QStringLiteral("数据中没有分隔符“") + separatorName(from) + QStringLiteral("”，但有“") +
           separatorName(to) + QStringLiteral("”：已改用“") + separatorName(to) +
           QStringLiteral("”作分隔符读取数据。");
}

const char16_t* const kColumnNames[] = {u"第一列数字", u"第二列数字", u"第三列数字", u"第四列数字",
                                        u"第五列数字"};

}  // namespace

QString statNonNumberNotice(const QList<StatTable::Cell>& cells, qsizetype total,
                            const QString& map) {
    QString text = QStringLiteral("以下单元格不是数字（或超出计算范围），按 0 统计：");
    int listed = 0;
    for (const StatTable::Cell& cell : cells) {
        if (listed == kStatNonNumbersListed) break;
        const qsizetype position = map.indexOf(QChar(u'0' + cell.slot));
        text += (listed ? QStringLiteral("；") : QString()) +
                QStringLiteral("第 %1 行第 %2 格").arg(cell.row).arg(position + 1);
        if (cell.slot >= 2 && cell.slot <= 6)
            text += QStringLiteral("（") + QStringView(kColumnNames[cell.slot - 2]).toString() +
                    QStringLiteral("）");
        QString shown = cell.text;
        if (shown.size() > 20) shown = shown.left(20) + QStringLiteral("…");
        text += QStringLiteral("“") + shown + QStringLiteral("”");
        ++listed;
    }
    if (total > listed)
        text += QStringLiteral("；共 %1 个。").arg(total);
    else
        text += QStringLiteral("。");
    return text;
}

QString statSeparatorSwitchNotice(const QString& from, const QString& to) {
    return separatorSwitchNoticeText(from, to);
}

int statLabelCells(const QString& boxText) {
    bool ok = false;
    const int n = trimSpaces(boxText).toInt(&ok);
    return ok && n >= 0 && n <= 3 ? n : 0;
}

SeparatorChoice chooseStatSeparator(const QString& entry) {
    SeparatorChoice choice;
    choice.separator = isTabName(entry) ? QStringLiteral("\t") : entry;
    if (entry == QLatin1String(" "))
        choice.notices.append(Notice{spaceSeparatorWarning(), NoticeButtons::CancelRetryContinue,
                                     separatorWarningTitle()});
    return choice;
}

QString statResultTable(const StatsRun& run) {
    QString out;
    for (const char16_t* heading :
         {u"第一列数字", u"第二列数字", u"第三列数字", u"第四列数字", u"第五列数字"})
        out.append(u'\t').append(QStringView(heading));
    out.append(u'\n');
    for (int r = 0; r < kStatRows; ++r) {
        out.append(trimSpaces(statRowCaptions()[r]));
        for (int c = 0; c < kStatColumns; ++c) out.append(u'\t').append(run.cells[r][c]);
        out.append(u'\n');
    }
    return out;
}

}  // namespace hc
