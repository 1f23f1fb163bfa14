#pragma once
// Module ZelZuoBiao2: the coordinate data text of the conversion window. One point
// per line: an optional name, two coordinates and an optional height, separated by
// the chosen separator; other lines are skipped.

#include <QList>
#include <QString>
#include <QStringView>

#include "engine/notice.h"
#include "survey/survey_settings.h"

namespace hc {

// One point as read: the name as written ("D" and the row number in three digits
// when the line has none), the two coordinate columns and the height.
struct CoordRow {
    QString name;
    double first = 0;
    double second = 0;
    double height = 0;  // 0 when the line has no height
    bool hasHeight = false;
    long long line = 0;  // line of the text (from 1) the row was read from; 0 when unknown
    QString badHeight;   // the height field as written when it is there but not a number
};

// What a reader wants the user to know about a row whose values were not taken as
// written: a height that is not a number (read as 0) and, for latitude and longitude
// (`geographic`), a packed angle whose minutes or seconds are 60 or more (read as 60).
// One text per finding, each naming the row's line and name: "第 5 行（A01）…". None for
// an ordinary row.
QStringList coordRowNotices(const CoordRow& row, bool geographic);

// The 27 entries of the separator list, in list order; "Tab" stands for the Tab.
const QStringList& separatorChoices();

// The separator of a separator box text: "tab" in any letter case is the Tab
// character, any other text stands as it is.
QString separatorOf(const QString& boxText);
// The separator setting: separatorOf(boxText); with the space separator, Tabs and
// ideographic spaces of `input` become spaces and runs of spaces shrink to one (the
// caller writes `input` back). Returns the separator.
QString ZelFenGeFuSheZhi(const QString& boxText, QString& input);
// What the space separator does to the input: Tabs and ideographic spaces become
// spaces, runs of spaces shrink.
void spaceSeparatedInPlace(QString& text);
// Choosing an entry that trims to a control character or nothing (space, Tab)
// gives the warning notice (buttons Cancel, Try Again, Continue; the answer is not
// used, the choice stands). Returns the notices, none for other entries.
Notices ZelFenGeFuXuanZe(const QString& entry);

QString ZelQuanJiaoZhuanBanJiao(const QString& text);
// The number at the start of a data field, as its number text, or "" when there is
// none. Grammar: spaces, then a run of digits, ".", "+", "-" and "e"/"E" in any mix
// that holds a digit, cut at the first other character; the run must then be number
// text (textToDouble, engine/number_reader.h) and is taken to 15 significant digits.
// Separate from the meridian setting's reader (zones.h leadingNumber), which stops at
// "e" and at a second sign.
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
    // Why the last line given to readLine gave no row, when it looked like data (held the
    // separator and a digit 0-9): a short Chinese reason. "" after a row, and for lines
    // that do not look like data (headings, notes, blank lines).
    const QString& failure() const { return failure_; }

private:
    QChar sep_;
    int rows_ = 0;
    QString failure_;
};

// Half-width replacements of ZelQuanJiaoZhuanBanJiao without its first-character rule.
void halfWidthInPlace(QString& text);
// Further replacements for data from other programs and input methods, after
// halfWidthInPlace: full-width digits ０-９, the full-width minus "－" and the
// full-width semicolon "；" become 0-9, "-" and ";". Not part of the window's reading.
void halfWidthDigitsInPlace(QString& text);

// Echo line of a row.
QString echoLine(const CoordRow& row, QChar separator);

struct CoordOrder {
    AxisOrder order;  // XYZ: latitude first; YXZ: longitude first
    QString remark;   // text to append to the input box, "" when none
};
// Decides from the value ranges of rows 0 ... n-1 which column holds the latitude;
// `mode` is the window's order.
CoordOrder ZelJingWeiShunXu(const QList<CoordRow>& rows, int n, AxisOrder mode);

// The remarks of the order detection: the order the data was taken in when it
// differs from the window's, and a longitude beyond 180 degrees.
QString orderRemark(AxisOrder detected);
QString longitudeRemark();

// Number formats of the output rows.
QString formatNorthing(double x);   // "0000000.000"
QString formatEasting(double y);    // "00000000.000"
QString formatLatitude(double b);   // "00.00000000"
QString formatLongitude(double l);  // "000.00000000"
QString formatScale(double k);      // "0.0000000000"

// Name column of a row: the trimmed name padded to `width` display columns, then " , ".
QString nameColumn(const QString& name, int width);
// Display width of the widest trimmed name.
int nameColumnWidth(const QList<CoordRow>& rows, int n);

// One output row: name column, the two formatted coordinates, the height when it is
// not 0, " " and the remark, CR LF.
QString ZelShuChuHang(const QString& names, const QString& first, const QString& second,
                      double height, const QString& remark);
// The same with `extra` (further columns, each " , " and a value) after the height.
QString ZelShuChuHang(const QString& names, const QString& first, const QString& second,
                      double height, const QString& remark, const QString& extra);

// Block headers; `datumText` is the ellipsoid box text.
QString gridHeader(ZoneWidth width, const QString& datumText);
QString geographicHeader();

}  // namespace hc
