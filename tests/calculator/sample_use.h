#pragma once
// Uses a tool window once with its sample data, as a new user would: types what the
// window does not already hold and presses its calculate button. Shared by the window
// tests and the screenshot tool.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace hc::test {

// Returns false when `w` is no tool window or a control it needs is missing.
inline bool useOnce(QWidget* w) {
    auto line = [w](const char* name, const char* text) {
        auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(name));
        if (e) e->setText(QString::fromUtf8(text));
        return e != nullptr;
    };
    auto box = [w](const char* name, const char* text) {
        auto* e = w->findChild<QPlainTextEdit*>(QString::fromLatin1(name));
        if (e) e->setPlainText(QString::fromUtf8(text));
        return e != nullptr;
    };
    auto press = [w](const char* name) {
        auto* b = w->findChild<QPushButton*>(QString::fromLatin1(name));
        if (b) b->click();
        return b != nullptr;
    };
    const QString name = w->objectName();
    // Statistics, coordinates, distance, area, attitude and the field-work windows start
    // with sample data of their own.
    if (name == QLatin1String("Form201")) return press("Command1");
    if (name == QLatin1String("Form213")) return press("CommandJto3");
    if (name == QLatin1String("FormDanLie")) return press("CommandConvert");
    if (name == QLatin1String("Form214") || name == QLatin1String("Form215") ||
        name == QLatin1String("Form216") || name == QLatin1String("Form217") ||
        name == QLatin1String("Form218"))
        return press("Command1");
    if (name == QLatin1String("Form202")) return line("Text1", "45.5959") && press("Command6");
    if (name == QLatin1String("Form210")) return line("Text1", "-123.456") && press("Command1");
    // The matrix and equations windows start with a sample matrix and system.
    if (name == QLatin1String("Form205")) return press("Commandinverse");
    if (name == QLatin1String("Form207")) return press("Command1");
    if (name == QLatin1String("Form209")) return press("Command1");  // its sample data
    // The calculus windows: an integral over 0 ... 1, a derivative at 1, a product's error.
    if (name == QLatin1String("Form212") || name == QLatin1String("Form211"))
        return line("Text1", "x*x-1/2") && press("Command1");
    if (name == QLatin1String("Form204"))
        return line("Text1", "r*s") && box("Text2", "r=100±0.01\ns=2±0.001") && press("Command1");
    // 101 + 0 in binary: the digit keys 1, 0, 1, then 运算.
    if (name == QLatin1String("Form203"))
        return press("Command2") && press("Command1") && press("Command2") && press("Command23");
    return false;
}

}  // namespace hc::test
