#pragma once
// Module ZelZuoBiao2: the coordinate data text of the conversion window. One point
// per line: an optional name, two coordinates and an optional height, separated by
// the chosen separator; other lines are skipped.

#include <QList>
#include <QString>
#include <QStringView>

namespace hc {

// One point as read: the name as written ("D" and the row number in three digits
// when the line has none), the two coordinate columns and the height.
struct CoordRow {
    QString name;
    double first = 0;
    double second = 0;
    double height = 0;  // 0 when the line has no height
    bool hasHeight = false;
};

// The 27 entries of the separator list, in list order; "Tab" stands for the Tab.
const QStringList& separatorChoices();

// The separator setting: "tab" in any case is the Tab character. With the space
// separator, Tabs and ideographic spaces of `input` become spaces and runs of spaces
// shrink to one (the caller writes `input` back). Returns the separator.
QString ZelFenGeFuSheZhi(const QString& boxText, QString& input);
// What the space separator does to the input: Tabs and ideographic spaces become
// spaces, runs of spaces shrink.
void spaceSeparatedInPlace(QString& text);
// Choosing an entry that trims to a control character or nothing (space, Tab)
// shows the warning box; the choice stands. Returns whether it was shown.
bool ZelFenGeFuXuanZe(const QString& entry);

QString ZelQuanJiaoZhuanBanJiao(const QString& text);
// The number at the start of a field as number text, or "" when there is none.
QString ZelQuShuZhi(const QString& field);

inline constexpr int kWindowRowLimit = 200;

// Reads up to `n` rows of `text` with `separator` (not exactly one character, or a
// control character other than the Tab, means ","). Sets n to the rows read and
// returns the echo text: the normalised point list, or "没有发现坐标数据！".
QString ZelJieXiZuoBiao(const QString& text, int& n, QList<CoordRow>& rows,
                        const QString& separator);
QString noCoordinateDataText();

// Line-by-line form of the same reading, for texts too long to hold.
class CoordLineReader {
public:
    explicit CoordLineReader(const QString& separator);
    // The effective separator character.
    QChar separator() const { return sep_; }
    // One line without its line break, already half-width. Returns true and fills
    // `row` when the line is a data row.
    bool readLine(QStringView line, CoordRow& row);
    int rowsRead() const { return rows_; }

private:
    QChar sep_;
    int rows_ = 0;
};

// Half-width replacements of ZelQuanJiaoZhuanBanJiao without its first-character rule.
void halfWidthInPlace(QString& text);

// Echo line of a row.
QString echoLine(const CoordRow& row, QChar separator);

struct CoordOrder {
    QString order;   // "XYZ": latitude first; "YXZ": longitude first
    QString remark;  // text to append to the input box, "" when none
};
// Decides from the value ranges of rows 0 ... n-1 which column holds the latitude.
CoordOrder ZelJingWeiShunXu(const QList<CoordRow>& rows, int n, const QString& mode);

// Number formats of the output rows.
QString formatNorthing(double x);   // "0000000.000"
QString formatEasting(double y);    // "00000000.000"
QString formatLatitude(double b);   // "00.00000000"
QString formatLongitude(double l);  // "000.00000000"

// Name column of a row: the trimmed name padded to `width` display columns, then " , ".
QString nameColumn(const QString& name, int width);
// Display width of the widest trimmed name.
int nameColumnWidth(const QList<CoordRow>& rows, int n);

// One output row: name column, the two formatted coordinates, the height when it is
// not 0, " " and the remark, CR LF.
QString ZelShuChuHang(const QString& names, const QString& first, const QString& second,
                      double height, const QString& remark);

// Block headers; zoneWidth is 6, 3 or 15 (for 1.5).
QString gridHeader(int zoneWidth, const QString& ellipsoidText);
QString geographicHeader();

}  // namespace hc
