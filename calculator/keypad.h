#pragma once
// The keypad of the main window as plain operations on texts: the key table, the
// insertion of a key's token at the saved selection, scientific notation and the
// random-number token.

#include <QString>

namespace hc {

// Selection of the formula box as saved when it last lost the focus.
struct SavedSelection {
    int start = 0;
    int length = 0;
    QString text;
};

struct KeyInfo {
    QString caption;
    QString token;  // empty for "F-E" and "随机数", whose tokens are built at the press
    int advance = 0;
    QString help;
};

constexpr int kKeyCount = 60;
constexpr int kKeyFe = 50;
constexpr int kKeyRandom = 60;

// The key with index 1 ... 60; nullptr for any other index.
const KeyInfo* hmKey(int index);

// Text shown by "F-E" in the status box.
QString feHelpText();

// Inserts `token` into `formula` at the saved selection (replacing it); the start
// is clamped to the text. Returns the new text and moves `sel` to start + advance
// with nothing selected.
QString insertToken(const QString& formula, SavedSelection& sel, const QString& token, int advance);

// Scientific notation of a number text, e.g. 123.45 -> 1.2345E+2, 0 -> 0E+0; a
// displayed result (alignment spaces, "约数", "_" fill) is read as its number.
QString ZelKeXueJiShu(const QString& text);

// Plain decimal text of 0 <= v < 1 with at most `digits` significant digits:
// 0.1234567, 0.5, 0.00012, 0; a value that rounds up to 1 is "1".
QString plainSignificant(double v, int digits);

// The random token of key 60 from three draws: r1 whole, then characters 3-9 of
// r2 and characters 3-8 of r3.
QString randomToken(double r1, double r2, double r3);
// Draws the three numbers from the installed services, re-seeding before each.
QString drawRandomToken();

}  // namespace hc
