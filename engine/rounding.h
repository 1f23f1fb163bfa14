#pragma once
// Text-level number helpers: significant digits, rounding, integer and fraction
// parts, display width.

#include "engine/num.h"

namespace hc {

int ZelYouXiao109ChangDu(const Num& x);
QString ZelYouXiaoChangDu(const Num& x, int n);
Num ZelSiSheWuRu(const Num& x, int n);
QString ZelZhengShuBuFen(const Num& x);
QString ZelXiaoShuBuFen(const Num& x);
int ZelXianShiKuanDu(const QString& s);

}  // namespace hc
