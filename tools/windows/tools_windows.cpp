#include "tools/windows/tools_windows.h"

#include "tools/windows/form201.h"
#include "tools/windows/form202.h"
#include "tools/windows/form203.h"
#include "tools/windows/form210.h"
#include "ui/widget_services.h"

namespace hc {

void registerToolsWindows() {
    ui::registerWindow(QStringLiteral("Form201"), [] { return new Form201; });
    ui::registerWindow(QStringLiteral("Form202"), [] { return new Form202; });
    ui::registerWindow(QStringLiteral("Form203"), [] { return new Form203; });
    ui::registerWindow(QStringLiteral("Form210"), [] { return new Form210; });
}

}  // namespace hc
