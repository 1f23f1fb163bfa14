#pragma once
// What every window builds the same way: the CJK fonts, the heading label, controls
// made with their object names, width fitting, and the guard around event handlers.

#include <QFont>
#include <QString>
#include <functional>
#include <utility>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace hc::ui {

// The proportional CJK face of every window, at `pointSize` points.
QFont cjkFont(int pointSize = 10);
// The monospaced CJK face (Latin glyphs half as wide as Chinese ones), for boxes
// whose columns must line up; `pointSize` in points.
QFont monospacedFont(qreal pointSize = 10);

// Makes `w`'s font bold and `points` points larger.
void enlargeFont(QWidget* w, int points);
// A window's heading: bold, half as large again as the window's font, centred.
QLabel* headingLabel(QWidget* parent, const QString& name, const QString& caption);

// Controls carrying the object name the window tests and key handling find them by;
// an empty tip sets none.
QLabel* namedLabel(QWidget* parent, const QString& name, const QString& caption,
                   const QString& tip = QString());
QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption,
                         const QString& tip = QString());
QLineEdit* namedLineEdit(QWidget* parent, const QString& name, const QString& text = QString());

// Sets the least width of `w` to the width of `sample` in its font plus `extra` pixels.
void fitWidth(QWidget* w, const QString& sample, int extra = 0);

// Windows laid out in twips (1/1440 inch) convert at the window's logical resolution.
int pixelsFromTwips(const QWidget* w, int twips);
int twipsFromPixels(const QWidget* w, int pixels);

// Runs `handler`. An exception escaping it (std::bad_alloc included) is logged with
// qWarning, naming `what`, and reported in a message box (ui/services.h); the window
// goes on. Returns false when the handler did not finish.
bool runGuarded(const std::function<void()>& handler,
                const QString& what = QStringLiteral("event handler"));
// The messages of that box: memory ran out, or another failure with its description.
QString outOfMemoryNoticeText();
QString handlerFailedText(const QString& detail);

// A slot for connect() that runs `f` under runGuarded.
template <typename F>
auto guardedSlot(F f) {
    return [f = std::move(f)] { runGuarded(f); };
}
// The same, naming `what` (the window, say) in the log.
template <typename F>
auto guardedSlot(F f, QString what) {
    return [f = std::move(f), what = std::move(what)] { runGuarded(f, what); };
}

}  // namespace hc::ui
