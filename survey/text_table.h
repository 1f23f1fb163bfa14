#pragma once
// Plain-text tables for the output boxes of the field-survey windows: every column as
// wide as its widest cell (a Chinese character counting two columns), cells padded on
// the left so that numbers line up on the right, columns two spaces apart, rows ended by
// CR LF.

#include <QString>
#include <QStringList>
#include <vector>

namespace hc {

class TextTable {
public:
    // A row of cells; rows may have fewer cells than others (missing ones are blank).
    void addRow(QStringList cells) { rows_.push_back(std::move(cells)); }
    // The laid-out rows. Column 0 (names) is padded on the right, the others on the left.
    QString layOut() const;

private:
    std::vector<QStringList> rows_;
};

// Metres (or any length) with `places` decimals, "-0.000" written "0.000"; "" for NaN.
QString fixedText(double value, int places = 3);
// Decimal degrees as a packed angle d.mmsss to 0.1 second, normalised to [0, 360) when
// `wrap` is set (bearings), signed otherwise.
QString packedText(double degrees, bool wrap);
// Seconds of arc with one decimal and a sign ("+12.3", "-0.4").
QString secondsText(double seconds);

// A packed angle field (d.mmss...) read to decimal degrees. Throws FieldError with a
// message naming `what` when the text is not a number or its minutes or seconds are 60
// or more.
double readPackedField(const QString& text, const QString& what);
// A number field (metres, ppm ...). Throws FieldError naming `what` when it is not one.
double readNumberField(const QString& text, const QString& what);

struct FieldError {
    QString message;
};

// The most data lines one calculation of these windows reads; more is refused whole
// with dataLimitText(), so that a pasted or piped flood ends in a message.
inline constexpr int kMaxDataLines = 100000;
QString dataLimitText();
// The input split into lines (CR LF, LF or CR). Throws FieldError with dataLimitText()
// when there are more than kMaxDataLines.
QStringList dataLines(const QString& input);

// Splits one input line into trimmed fields at ASCII or full-width commas after mapping
// full-width characters to ASCII; "" for a blank line or a comment line starting with
// '#'. Returns an empty list then.
QStringList splitFields(const QString& line);

}  // namespace hc
