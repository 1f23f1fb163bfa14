#pragma once
// One row per window that the main window's buttons, the module menu and the help
// window offer: each window library registers its rows (registerToolsWindows(),
// registerSurveyWindows()), and those three read them. Adding a tool window is adding
// its name to ui/window_ids.h and its row to its library's list; the menu, the main
// window and the help code stay as they are.

#include <QString>
#include <utility>
#include <vector>

#include "ui/widget_services.h"
#include "ui/window_ids.h"

namespace hc::ui {

struct ToolWindow {
    WindowId id;
    // Creates the window (see registerWindow); empty for a window made elsewhere
    // (the main window), which the row only names.
    WindowFactory factory;
    // The button of the module menu's control array Command1 (0 ... 63 and 65) and its
    // caption; -1: not in the menu.
    int menuIndex = -1;
    QString menuCaption;
    // Further module-menu buttons that open the same window (index, caption).
    std::vector<std::pair<int, QString>> moreMenuButtons;
    // The image button dcButton<buttonNumber> in the main window's top row and its
    // caption; 0: no button.
    int buttonNumber = 0;
    QString buttonCaption;
    // The window's paragraph of the help text (starting "【caption】"), "" for none.
    QString helpSection;
    // Its line in the help's list of hechuan-cli subcommands, without the closing
    // punctuation ("hechuan-cli stats < 数据：数理统计"), "" for none.
    QString commandLine;
};

// Adds the row, or replaces the row of the same id, and registers its factory under
// the id. Returns false and adds nothing, with a qWarning naming both windows,
// when another window already has the same menu index or button number.
bool registerTool(ToolWindow row);
// Removes the row of that id and its factory.
void unregisterTool(WindowId id);
// The rows by menu index, then the rows without one in the order registered.
std::vector<ToolWindow> tools();
// The row with that menu index (its own or one of its further buttons) or button
// number, or nullptr.
const ToolWindow* toolAtMenuIndex(int index);
// The caption of the row's menu button at that index ("" when it has none there).
QString menuCaptionAt(const ToolWindow& tool, int index);
const ToolWindow* toolWithButton(int number);

}  // namespace hc::ui
