#include "tests/engine/reference_angle.h"

#include <exception>

#include "engine/number_routines.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"

namespace hc::reference {
namespace {

QString twoDigits(const Decimal& n) {
    QString s = n.toString();
    return s.size() == 1 ? QStringLiteral("0") + s : s;
}

Num degreesToPacked(const Num& x) {
    const Num v = ZelShuZhuanShu(x);
    if (ZelDuoShaoE(v) > 0) return Num::ofDecimal(Decimal(0));
    const QString t = v.text();
    const qsizetype point = t.indexOf(u'.');
    if (point < 0) return v;

    QString deg = ZelZhengShuBuFen(v);
    const Decimal f = Decimal::fromText(t.mid(point));
    const Decimal sixty = 60;

    QString mm = trimSpaces(ZelZhengShuBuFen(Num::ofDecimal(sixty * f)));
    if (mm.size() == 1) mm.prepend(u'0');
    if (mm.isEmpty() || Decimal::fromText(mm).isZero()) mm = QStringLiteral("00");
    const Decimal r = sixty * f - Decimal::fromText(mm);

    QString ss = ZelSiSheWuRu(Num::ofDecimal(sixty * r), 24).toDecimal().toString();
    if (Decimal::fromText(ss) < Decimal(10)) ss.prepend(u'0');
    if (Decimal::fromText(ss) == sixty) {
        ss = QStringLiteral("00");
        mm = twoDigits(Decimal::fromText(mm) + Decimal(1));
    }
    if (Decimal::fromText(mm) == sixty) {
        mm = QStringLiteral("00");
        if (deg == u"0") {
            deg = QStringLiteral("1");
        } else if (deg == u"-0") {
            deg = QStringLiteral("-1");
        } else {
            const Decimal d = Decimal::fromText(deg);
            deg = (d.isNegative() ? d - Decimal(1) : d + Decimal(1)).toString();
        }
    }
    ss.remove(u'.');
    return Num::ofDecimal(Decimal::fromText(deg + u'.' + mm + ss));
}

}  // namespace

Num ZelTiDuZhuanDu(const Num& x) {
    try {
        return degreesToPacked(x);
    } catch (const std::exception&) {
        return Num::failure(QStringLiteral("error"));
    }
}

}  // namespace hc::reference
