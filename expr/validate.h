#pragma once
// Validation, spacing and sign simplification of normalised formula texts.

#include <QString>

namespace hc {

// Checks a normalised formula for operators next to each other and for brackets that
// do not pair, inserts the remaining implicit "*", and spaces the operators out.
// Errors are counted and logged in the calculation state.
QString ZelFenJieBiaoDaShi(const QString& formula);

// Checks the brackets at the characters s[from] ... s[end - 1]: at each one that is no
// bracket, no ")" may be unmatched to its left and no "(" to its right, and the
// brackets open on the left must equal those closing on the right. Brackets before
// `from` count as lying left. Reports the first fault in the current log and returns
// false; true when there is none.
bool bracketsPair(QStringView s, qsizetype from, qsizetype end);

// Removes spaces and collapses "++" and "-+" ("--" and "+-" stay: the evaluator reads a
// "-" after an operator as the sign of the next number).
QString ZelJianHuaBiaoDaShi(const QString& text);

// Removes spaces and collapses all four sign pairs.
QString ZelJianHuaBiaoDaShi2(const QString& text);

// The same two on a text they may edit in place rather than copy.
QString ZelJianHuaBiaoDaShi(QString&& text);
QString ZelJianHuaBiaoDaShi2(QString&& text);

}  // namespace hc
