#include "ui/tool_registry.h"

#include <QtGlobal>
#include <algorithm>
#include <climits>

namespace hc::ui {
namespace {

bool hasMenuIndex(const ToolWindow& t, int index) {
    if (index < 0) return false;
    if (t.menuIndex == index) return true;
    for (const auto& [more, caption] : t.moreMenuButtons)
        if (more == index) return true;
    return false;
}

// The first menu index of `row` that `other` has too, or -1.
int sharedMenuIndex(const ToolWindow& row, const ToolWindow& other) {
    if (hasMenuIndex(other, row.menuIndex)) return row.menuIndex;
    for (const auto& [more, caption] : row.moreMenuButtons)
        if (hasMenuIndex(other, more)) return more;
    return -1;
}

std::vector<ToolWindow>& rows() {
    static std::vector<ToolWindow> r;
    return r;
}

}  // namespace

bool registerTool(ToolWindow row) {
    std::vector<ToolWindow>& all = rows();
    for (const ToolWindow& other : all) {
        if (other.id == row.id) continue;
        const int menu = sharedMenuIndex(row, other);
        const bool sameMenu = menu >= 0;
        const bool sameButton = row.buttonNumber > 0 && other.buttonNumber == row.buttonNumber;
        if (sameMenu || sameButton) {
            qWarning("window %s: its %s %d is taken by %s", qPrintable(row.id.name()),
                     sameMenu ? "menu index" : "button number", sameMenu ? menu : row.buttonNumber,
                     qPrintable(other.id.name()));
            return false;
        }
    }
    if (row.factory) registerWindow(row.id, row.factory);
    auto same =
        std::find_if(all.begin(), all.end(), [&](const ToolWindow& t) { return t.id == row.id; });
    if (same != all.end())
        *same = std::move(row);
    else
        all.push_back(std::move(row));
    return true;
}

void unregisterTool(WindowId id) {
    std::vector<ToolWindow>& all = rows();
    auto same =
        std::find_if(all.begin(), all.end(), [&](const ToolWindow& t) { return t.id == id; });
    if (same == all.end()) return;
    if (same->factory) unregisterWindow(id);
    all.erase(same);
}

std::vector<ToolWindow> tools() {
    std::vector<ToolWindow> sorted = rows();
    std::stable_sort(sorted.begin(), sorted.end(), [](const ToolWindow& a, const ToolWindow& b) {
        const int ka = a.menuIndex < 0 ? INT_MAX : a.menuIndex;
        const int kb = b.menuIndex < 0 ? INT_MAX : b.menuIndex;
        return ka < kb;
    });
    return sorted;
}

const ToolWindow* toolAtMenuIndex(int index) {
    if (index < 0) return nullptr;
    for (const ToolWindow& t : rows())
        if (hasMenuIndex(t, index)) return &t;
    return nullptr;
}

QString menuCaptionAt(const ToolWindow& tool, int index) {
    if (index >= 0 && tool.menuIndex == index) return tool.menuCaption;
    for (const auto& [more, caption] : tool.moreMenuButtons)
        if (more == index) return caption;
    return QString();
}

const ToolWindow* toolWithButton(int number) {
    if (number <= 0) return nullptr;
    for (const ToolWindow& t : rows())
        if (t.buttonNumber == number) return &t;
    return nullptr;
}

}  // namespace hc::ui
