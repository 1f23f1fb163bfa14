#include "tools/windows/tools_windows.h"

#include "ui/widget_services.h"

namespace hc {

void registerToolsWindows() {}

}  // namespace hc
