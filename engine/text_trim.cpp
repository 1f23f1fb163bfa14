#include "engine/text_trim.h"

namespace hc {

QStringView trimSpaces(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.sliced(b, e - b);
}

QString trimSpaces(const QString& s) {
    const QStringView t = trimSpaces(QStringView(s));
    if (t.size() == s.size()) return s;
    return t.toString();
}

}  // namespace hc
