#pragma once
// The tool windows of the calculator: statistics, angle conversion, base
// conversion and logic, number decomposition.

namespace hc {

// Registers the row of each tool window (ui/tool_registry.h): its factory under its
// name (window_ids::kForm201 ...), its menu entry, main window button and help.
void registerToolsWindows();

}  // namespace hc
