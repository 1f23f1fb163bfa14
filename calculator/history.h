#pragma once
// Formula history and the small settings of the main window, as plain operations
// on texts: example formulas, store-on-clear, browsing with its count, the
// reference results by slot, the decimal-places list and the angle-unit cycle.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

#include "engine/calc_settings.h"

namespace hc {

class FormulaHistory {
public:
    static constexpr int kMaxSlot = 999;
    static constexpr int kExamples = 18;

    FormulaHistory();

    int size() const { return size_; }        // N, the highest slot written
    int current() const { return current_; }  // I
    int browseCount() const { return browseCount_; }
    QString slot(int i) const { return slots_.value(i); }

    // The clear button: resets the browse count and stores `formula` when it
    // sorts at or above twelve spaces; returns whether it was stored.
    bool storeOnClear(const QString& formula);

    // The browse buttons; each returns the new current index.
    int browseBack();
    int browseForward();

    // Text shown in the result box for a slot reached by browsing: the reference
    // result of the example slots, otherwise a single space.
    static QString referenceText(int slot, bool forward);

private:
    QVector<QString> slots_;  // index 0 ... 1000, slot 0 unused
    int size_ = kExamples;
    int current_ = kExamples;
    int browseCount_ = 0;
};

// The example formulas of slots 1 ... 18.
const QStringList& exampleFormulas();

// Items of the decimal-places list: "0 位小数" ... "9 位小数", "10位小数" ... "28位小数".
QStringList decimalPlaceItems();
// The leading integer of an item text (0 when it has none): the digits before the
// first other character, read here because the list items are no number text.
int leadingInteger(const QString& text);

// One step of the angle-unit button.
struct AngleStep {
    QString caption;
    AngleUnit unit;
    QColor colour;
};
// The step that follows the button's current caption; false for an unknown caption.
bool nextAngleStep(const QString& caption, AngleStep& next);
QColor initialAngleColour();

// Status texts of the main window.
QString clearStatusText();
QString browseBackStatusText();
QString browseForwardStatusText();
QString angleStatusText();
QString angleToolTip();
QString variablesStatusText();
QString calculatingText();
QString checkResultsText();

}  // namespace hc
