#pragma once
// The normaliser, validator and sign simplifiers as they were before they were made to
// work in place, for the tests only: same results and logs as expr/normalize.h and
// expr/validate.h, built character by character through several copies of the text.

#include <QString>
#include <QStringView>

namespace hc::reference {

// As hc::ZelGuiFanSuanShi.
QString ZelGuiFanSuanShi(const QString& formula);

// As hc::ZelFenJieBiaoDaShi.
QString ZelFenJieBiaoDaShi(const QString& formula);

// As hc::bracketsPair.
bool bracketsPair(QStringView s, qsizetype from, qsizetype end);

// As hc::ZelJianHuaBiaoDaShi and hc::ZelJianHuaBiaoDaShi2.
QString ZelJianHuaBiaoDaShi(const QString& text);
QString ZelJianHuaBiaoDaShi2(const QString& text);

}  // namespace hc::reference
