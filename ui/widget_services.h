#pragma once
// The Qt Widgets side of the window layer: the services of ui/services.h on real
// windows and the registry that keeps every window at most once.

#include <QColor>
#include <QString>
#include <functional>
#include <random>

#include "ui/services.h"
#include "ui/window_ids.h"

class QLineEdit;
class QPixmap;
class QPrinter;
class QWidget;

namespace hc::ui {

// Message boxes with QMessageBox centred on the window that raised them; printing
// through the print dialog (a printer or its PDF file choice), with a message box when
// printing fails; web pages with QDesktopServices (an empty address: the manual
// is missing, which a message box says); random numbers from a Mersenne
// twister.
class WidgetServices : public Services {
public:
    void messageBox(const QString& prompt, Buttons buttons, const QString& title) override;
    void printWindow(QObject* window) override;
    void printPicture(QObject* picture, const QString& title) override;
    void openWebPage(const QString& url) override;
    double random() override;
    void reseedRandom() override;

private:
    std::mt19937_64 engine_{std::random_device{}()};
};

// Prints `image` scaled to the page. Returns false when the printer or its output
// file cannot be written.
bool printImage(QPrinter& printer, const QPixmap& image);
QString printFailedText();

// ---- Windows that exist at most once ----------------------------------------

using WindowFactory = std::function<QWidget*()>;

// Makes a window known by its name (for example "Form3"). The factory creates the
// window with no parent; the registry shows it, and closing it deletes it.
void registerWindow(const QString& name, WindowFactory factory);
// Forgets the factory of that name (an open window of that name stays open).
void unregisterWindow(const QString& name);
bool isWindowRegistered(const QString& name);
// Creates the window on first use, otherwise brings the existing one forward with
// its contents unchanged; never modal. Returns nullptr for an unknown name, which
// is logged (qWarning).
QWidget* showWindow(const QString& name);
// The open window of that name, or nullptr.
QWidget* openWindow(const QString& name);
// Adopts an already created window under a name (the main window is created by
// main() itself, not by a factory).
void adoptWindow(const QString& name, QWidget* window);

// The same by a window's constant name (ui/window_ids.h), the form the program's
// own code uses; the overloads taking text serve tests and tools given a name.
inline void registerWindow(WindowId id, WindowFactory factory) {
    registerWindow(id.name(), std::move(factory));
}
inline void unregisterWindow(WindowId id) { unregisterWindow(id.name()); }
inline bool isWindowRegistered(WindowId id) { return isWindowRegistered(id.name()); }
inline QWidget* showWindow(WindowId id) { return showWindow(id.name()); }
inline QWidget* openWindow(WindowId id) { return openWindow(id.name()); }
inline void adoptWindow(WindowId id, QWidget* window) { adoptWindow(id.name(), window); }

// Replaces the text of a one-line box as one undo step (Ctrl+Z brings back what was
// typed), the caret after it as setText leaves it; nothing when the text is already `text`. For
// multi-line boxes: TextBox::replaceText.
void replaceText(QLineEdit* box, const QString& text);

// Background colour of a command button, kept in its palette.
void setBackgroundColour(QWidget* w, const QColor& colour);
QColor backgroundColour(const QWidget* w);

}  // namespace hc::ui
