#pragma once
// The ten conversions of the coordinate conversion window Form213 as operations on
// texts: the window passes its control texts and gets back the new box texts.

#include <QList>
#include <QString>
#include <optional>

#include "engine/notice.h"
#include "survey/coord_text.h"
#include "survey/gk_options.h"
#include "survey/projection.h"
#include "survey/survey_settings.h"

namespace hc {

enum class GkConversion {
    Zone15To3,    // Command1to3
    Zone3To6,     // Command3to6
    Zone3To15,    // Command3to1
    Zone6To3,     // Command6to3
    Zone15ToGeo,  // Command1toJ
    Zone3ToGeo,   // Command3toJ
    Zone6ToGeo,   // Command6toJ
    GeoToZone15,  // CommandJto1
    GeoToZone3,   // CommandJto3
    GeoToZone6,   // CommandJto6
};

// The zone width a conversion reads, or nothing when it reads latitude and longitude.
std::optional<ZoneWidth> inputZone(GkConversion op);
// The zone width a conversion writes, or nothing when it writes latitude and longitude.
std::optional<ZoneWidth> outputZone(GkConversion op);
// The conversion from one form to another (nothing: latitude and longitude), or nothing
// when there is none between them.
std::optional<GkConversion> conversionBetween(std::optional<ZoneWidth> from,
                                              std::optional<ZoneWidth> to);

// The window's controls as they read at the click.
struct GkControls {
    bool withNames = true;                         // Check1
    QString separator = QStringLiteral(",");       // Combo5 text
    QString order = QStringLiteral("X Y Z模式");   // Option1 caption
    QString ellipsoid = QStringLiteral("北京");    // Combo4 text
    QString meridian = QStringLiteral("117度-6");  // Combo3 text
};

// The settings of one conversion: what the conversion itself reads, nothing of the
// window's boxes.
struct GkSettings {
    bool withNames = true;
    QString separator = QStringLiteral(",");
    AxisOrder order = AxisOrder::XYZ;
    Datum datum = Datum::Beijing1954;
    QString datumText = QStringLiteral("北京");  // the ellipsoid box text, named in grid headers
    double meridian = 117;
    GkGridOptions options;  // command line only
};

// The settings read from the window's controls, with what the window shows after
// reading them.
struct GkSettingsReading : GkSettings {
    // The meridian box text was not a valid setting: the notice says so and the box
    // goes back to its default entry (index 8) and label.
    bool meridianReset = false;
    QString meridianText = QStringLiteral("117度");  // new Combo3 text
    Notices notices;                                 // for the window to show, in order
};

// Reads the controls; with the space separator `input` is rewritten (part of the
// settings refresh). An invalid central meridian is recorded as a notice.
GkSettingsReading ZelDuQuSheZhi(const GkControls& controls, QString& input);

struct GkResult {
    QString input;   // new input box text
    QString output;  // new output box text
    GkSettingsReading settings;
    Notices notices;  // for the window to show, in order
};

// The notice of the rows read with values not taken as written (coordRowNotices): the
// first ten findings, one a line, and how many there are in all when there are more.
QString rowNoticesText(const QStringList& notices);

// Runs one conversion on at most `rowLimit` rows (the window's 200). The notices hold
// the invalid meridian's message and then the rows' findings (rowNoticesText).
GkResult ZelZuoBiaoZhuanHuan(GkConversion op, const QString& input, const QString& previousOutput,
                             const GkControls& controls, int rowLimit = kWindowRowLimit);

// Converts rows one at a time with fixed settings; shared by the window operations
// and the command line.
class GkRowConverter {
public:
    GkRowConverter(GkConversion op, const GkSettings& settings);
    bool geographicInput() const;
    bool geographicOutput() const;
    QString header() const;
    // Appends the output row of `row`. `latitudeFirst` tells, for geographic input,
    // which column is the latitude (the effective order); grid input follows the mode.
    // Returns false when the point was rejected (zeroed, with an error remark).
    bool appendRow(const CoordRow& row, const QString& names, bool latitudeFirst,
                   QString& out) const;

private:
    std::optional<ZoneWidth> in_;
    std::optional<ZoneWidth> out_;
    const Ellipsoid* set_;
    double meridian_;
    bool xyz_;
    QString datumText_;
    GkGridOptions options_;
};

// Label1: the input box through the data-text normaliser (the caller empties the
// output box).
QString ZelGuiFanShuRu(const QString& input);

// Combo3 events: the value, the new box text (LostFocus only) and the label.
struct MeridianBox {
    double value;
    QString text;
    QString label;
    bool reset;       // invalid: list back to index 8
    Notices notices;  // the invalid-meridian message when reset
};
MeridianBox meridianBoxClick(const QString& boxText);
MeridianBox meridianBoxLostFocus(const QString& boxText);

}  // namespace hc
