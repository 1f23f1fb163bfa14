#include "survey/windows/survey_windows.h"

#include "survey/windows/form213.h"
#include "survey/windows/form214.h"
#include "survey/windows/form216.h"
#include "survey/windows/single_point_window.h"
#include "ui/widget_services.h"

namespace hc {

void registerSurveyWindows() {
    ui::registerWindow(QStringLiteral("Form213"), [] { return new Form213; });
    ui::registerWindow(QStringLiteral("Form214"), [] { return new Form214; });
    ui::registerWindow(QStringLiteral("Form216"), [] { return new Form216; });
    ui::registerWindow(QStringLiteral("FormDanLie"), [] { return new SinglePointWindow; });
}

}  // namespace hc
