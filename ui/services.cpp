#include "ui/services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <random>

namespace hc::ui {
namespace {

class HeadlessServices : public Services {
public:
    void messageBox(const QString& prompt, Buttons, const QString&) override {
        std::fprintf(stderr, "%s\n", prompt.toUtf8().constData());
    }
    void printWindow(QObject*) override {}
    void openWebPage(const QString&) override {}
    double random() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
    void reseedRandom() override {
        engine_.seed(static_cast<std::mt19937_64::result_type>(
            std::chrono::steady_clock::now().time_since_epoch().count()));
    }

private:
    std::mt19937_64 engine_{5489u};
};

HeadlessServices& headless() {
    static HeadlessServices s;
    return s;
}

Services* current = nullptr;

}  // namespace

Services& services() { return current ? *current : headless(); }

void showNotices(const Notices& notices) {
    for (const Notice& n : notices) services().messageBox(n.text, n.buttons, n.title);
}

QString documentationUrl(const QString& section) {
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QCoreApplication::applicationDirPath() +
                          QStringLiteral("/../" HC_DOC_DIR "/manual.html");
    candidates << QStringLiteral(HC_SOURCE_DIR "/packaging/manual.html");
    for (const QString& path : candidates) {
        const QFileInfo file(path);
        if (!file.isFile()) continue;
        QUrl url = QUrl::fromLocalFile(QDir::cleanPath(file.absoluteFilePath()));
        if (!section.isEmpty()) url.setFragment(section);
        return url.toString();
    }
    return QString();
}

QString noDocumentationText() {
    return QStringLiteral("找不到随程序安装的使用说明（manual.html），请重新安装本程序。");
}

void openDocumentation(const QString& section) {
    const QString url = documentationUrl(section);
    if (url.isEmpty())
        messageBox(noDocumentationText());
    else
        services().openWebPage(url);
}

Services* installServices(Services* s) {
    Services* previous = current;
    current = s;
    return previous;
}

RecordingServices::RecordingServices() : previous_(installServices(this)) {}
RecordingServices::~RecordingServices() { installServices(previous_); }

void RecordingServices::messageBox(const QString& prompt, Buttons, const QString& title) {
    messages << prompt;
    titles << title;
}
void RecordingServices::printWindow(QObject*) { ++printed; }
void RecordingServices::printPicture(QObject* picture, const QString&) {
    ++printed;
    printedPictures << picture;
}
void RecordingServices::openWebPage(const QString& url) { openedPages << url; }
double RecordingServices::random() {
    return randomValues.isEmpty() ? 0.5 : randomValues.takeFirst();
}
void RecordingServices::reseedRandom() { ++reseeds; }

}  // namespace hc::ui
