// The calculator program: installs the window services, registers the windows and
// shows the main window. With HC_STARTUP_TIME set it prints the milliseconds from
// the start of main() to the first shown main window and quits.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "calculator/form1.h"
#include "calculator/qt_translations.h"
#include "calculator/windows.h"
#include "ui/widget_services.h"

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    hc::setUpApplicationLook();
    hc::installQtTranslations(app);

    hc::ui::WidgetServices services;
    hc::ui::installServices(&services);
    hc::registerCalculatorWindows();

    hc::Form1 form1;
    QObject::connect(&form1, &hc::Form1::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    if (qEnvironmentVariableIsSet("HC_STARTUP_TIME")) {
        QObject::connect(&form1, &hc::Form1::firstShown, &app, [&] {
            std::printf("%lld\n", static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);
            QTimer::singleShot(0, &app, &QApplication::quit);
        });
    }
    form1.show();
    const int rc = app.exec();
    hc::ui::installServices(nullptr);
    return rc;
}
