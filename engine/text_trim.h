#pragma once
// Trimming as the calculation module trims: the space character only, never tabs,
// line breaks or the ideographic space.

#include <QString>
#include <QStringView>

namespace hc {

// s without its leading and trailing space characters (U+0020).
QString trimSpaces(const QString& s);
QStringView trimSpaces(QStringView s);

}  // namespace hc
