#pragma once
// The survey windows of the calculator: coordinate conversion, distance and
// bearing, plane attitude.

namespace hc {

// Registers each survey window under its form name ("Form213" ...) with the
// window registry of ui/widget_services.h.
void registerSurveyWindows();

}  // namespace hc
