#pragma once
// The literal evaluator, for the tests only: same results, messages and counts as
// expr/evaluate.h, but each replacement copies the whole working text.

#include <QString>

#include "engine/calc_settings.h"

namespace hc::reference {

// As hc::ZelBiaoDaShiJiSuan.
QString ZelBiaoDaShiJiSuan(const QString& formula, const CalcSettings& settings);

// As hc::ZelKBiaoDaShiJiSuan.
QString ZelKBiaoDaShiJiSuan(const QString& text, const CalcSettings& settings);

// As hc::ZelXiangQianQuShuZi and hc::ZelXiangHouQuShuZi.
QString ZelXiangQianQuShuZi(const QString& s, qsizetype p);
QString ZelXiangHouQuShuZi(const QString& s, qsizetype p);

}  // namespace hc::reference
