#pragma once
// The tool windows of the calculator: statistics, angle conversion, base
// conversion and logic, number decomposition.

namespace hc {

// Registers each tool window under its form name ("Form201" ...) with the window
// registry of ui/widget_services.h.
void registerToolsWindows();

}  // namespace hc
