#pragma once
// Services that windows call: message boxes, printing a window, opening a web
// page, random numbers. QtCore only; the windows install the Qt Widgets
// implementation, and tests install a recorder.

#include <QString>
#include <QStringList>
#include <memory>

#include "engine/notice.h"

class QObject;

namespace hc::ui {

using Buttons = hc::NoticeButtons;

class Services {
public:
    virtual ~Services() = default;
    // Shows a modal message box and returns when it is closed. The button
    // pressed is not reported: no caller uses it.
    virtual void messageBox(const QString& prompt, Buttons buttons, const QString& title) = 0;
    // Prints an image of the window (a QWidget); failures are ignored.
    virtual void printWindow(QObject* window) = 0;
    // Prints the picture a widget shows (itself only, not its window), titled `title`;
    // failures are ignored. Services that print no pictures of their own print the window.
    virtual void printPicture(QObject* picture, const QString& title) {
        (void)title;
        printWindow(picture);
    }
    // Opens the address in the system browser without waiting; failures are ignored.
    virtual void openWebPage(const QString& url) = 0;
    // A pseudo-random value 0 <= r < 1.
    virtual double random() = 0;
    // Seeds the generator from the clock.
    virtual void reseedRandom() = 0;
};

// The installed services; the default writes message boxes to standard error
// and does nothing for printing and web pages.
Services& services();
// Installs s (not owned) and returns the previous one; nullptr restores the default.
Services* installServices(Services* s);

inline void messageBox(const QString& prompt, Buttons buttons = Buttons::Ok,
                       const QString& title = QString()) {
    services().messageBox(prompt, buttons, title);
}
// Shows each notice as a message box with its text, buttons and title, in order.
void showNotices(const Notices& notices);
inline double random() { return services().random(); }

// The address (file://) of the manual shipped with the program, at the section with
// the id `section` ("" for the top): the installed copy beside the program
// (<prefix>/share/doc/hechuan/manual.html), else the one in the source tree the
// program was built from. "" when neither exists.
QString documentationUrl(const QString& section = QString());
// Opens documentationUrl(section) in the browser; when there is no manual, says so in
// a message box.
void openDocumentation(const QString& section = QString());
QString noDocumentationText();

// Shows nothing and returns 0.5 as its random value: for batch runs, benchmarks and fuzzing.
class SilentServices : public Services {
public:
    void messageBox(const QString&, Buttons, const QString&) override {}
    void printWindow(QObject*) override {}
    void openWebPage(const QString&) override {}
    double random() override { return 0.5; }
    void reseedRandom() override {}
};

// Records message boxes, prints and web pages instead of showing them; its random
// source returns the values queued in `randomValues` (then 0.5). Installs itself
// on construction and restores the previous services on destruction.
class RecordingServices : public Services {
public:
    RecordingServices();
    ~RecordingServices() override;
    RecordingServices(const RecordingServices&) = delete;
    RecordingServices& operator=(const RecordingServices&) = delete;

    QStringList messages;  // prompts, in order
    QStringList titles;
    int printed = 0;
    QList<QObject*> printedPictures;  // printPicture's widgets, in order
    QStringList openedPages;
    QList<double> randomValues;
    int reseeds = 0;

    void messageBox(const QString& prompt, Buttons buttons, const QString& title) override;
    void printWindow(QObject* window) override;
    void printPicture(QObject* picture, const QString& title) override;
    void openWebPage(const QString& url) override;
    double random() override;
    void reseedRandom() override;

private:
    Services* previous_;
};

}  // namespace hc::ui
