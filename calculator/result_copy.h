#pragma once
// The text the main window puts on the clipboard when the user copies the result.

#include <QString>

namespace hc {

// The number shown in the result box as plain text: without the alignment spaces,
// the "约数" marker, the "_" or space fill and the point that ends an integer
// ("                             3.14____" -> "3.14", "约数   2.5   " -> "2.5",
// "42." -> "42"); an exponent form stays as shown ("6.12345E+8"). A text that is
// no number (an error message, a reference text with words) comes back trimmed of
// spaces; an empty or blank box gives the empty text.
QString plainResult(const QString& shown);

}  // namespace hc
