#pragma once
// One QApplication for all window tests of an executable, with the calculator's
// windows registered.

#include <QApplication>

#include "calculator/windows.h"

namespace hc::test {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "calculator_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        registerCalculatorWindows();
        return a;
    }();
    return *app;
}

}  // namespace hc::test
