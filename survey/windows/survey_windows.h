#pragma once
// The survey windows of the calculator: coordinate conversion, distance and
// bearing, plane attitude.

namespace hc {

// Registers the row of each survey window (ui/tool_registry.h): its factory under
// its name (window_ids::kForm213 ...), its menu entry, main window button and help.
void registerSurveyWindows();

}  // namespace hc
