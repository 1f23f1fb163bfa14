#pragma once
// The small windows around the calculator (module menu, help, placeholders) and
// the registration of every window the calculator opens by name.

#include <QString>
#include <QWidget>

class QPlainTextEdit;

namespace hc {

// Web addresses the link buttons open.
QString homeUrl();
QString questionBankUrl();
QString manualUrl();
QString siteUrl(int n);  // the n-th site of the link buttons, n = 1 ...

// Registers the rows (ui/tool_registry.h) of Form1 (which adopts itself and registers its
// variable editor Form3), Form2, Form5 and Form6, and those of the tool window
// libraries through registerSurveyWindows() and registerToolsWindows(). The main window's
// buttons, the module menu and the help text are made from these rows: call this before
// making the main window.
void registerCalculatorWindows();

// Application-wide font and the application name (not a display name, which Qt would
// append to every window title); called once after the QApplication exists.
void setUpApplicationLook();

// The help text of Form5, with the help section and command line of every registered
// window in menu order.
QString helpText();

// Module menu: the control array Command1 (indices 0 ... 63 and 65): the registered
// windows at their indices, the site links at 24 ... 29, the planned modules elsewhere.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
};

// Help window.
class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
};

// Test window of the image buttons.
class Form6 : public QWidget {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);
};

}  // namespace hc
