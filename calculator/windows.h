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

// Registers Form2, Form5, Form6 and Form215 ("Form1" is adopted by the main window
// itself, which registers its variable editor "Form3"), and the tool windows of the libraries
// hc_survey_windows and hc_tools_windows when they are built: their registerSurveyWindows() and
// registerToolsWindows() register Form213 ... and Form201 ... under those names.
// A menu button whose window is not registered does nothing when pressed.
void registerCalculatorWindows();

// Application-wide font and the application name (not a display name, which Qt would
// append to every window title); called once after the QApplication exists.
void setUpApplicationLook();

// The help text of Form5.
QString helpText();

// Module menu: the control array Command1 (indices 0 ... 63 and 65).
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

// Placeholder window of the area module.
class Form215 : public QWidget {
    Q_OBJECT
public:
    explicit Form215(QWidget* parent = nullptr);
};

// Test window of the image buttons.
class Form6 : public QWidget {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);
};

}  // namespace hc
