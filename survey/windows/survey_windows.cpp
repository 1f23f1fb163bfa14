#include "survey/windows/survey_windows.h"

#include "ui/widget_services.h"

namespace hc {

void registerSurveyWindows() {}

}  // namespace hc
