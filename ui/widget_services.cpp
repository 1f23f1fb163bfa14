#include "ui/widget_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QHash>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QUrl>
#include <QWidget>
#include <chrono>

namespace hc::ui {

namespace {

// The window whose event raised the message box: the modal box on top, else the
// active window, else the window holding the focus.
QWidget* raisingWindow() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    if (QWidget* f = QApplication::focusWidget()) return f->window();
    return nullptr;
}

}  // namespace

void WidgetServices::messageBox(const QString& prompt, Buttons buttons, const QString& title) {
    // A parent centres the box on the window that raised it.
    QMessageBox box(raisingWindow());
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationDisplayName() : title);
    box.setText(prompt);
    if (buttons == Buttons::Ok) {
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    } else {
        box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.addButton(QStringLiteral("重试"), QMessageBox::ActionRole);
        box.addButton(QStringLiteral("继续"), QMessageBox::AcceptRole);
    }
    box.exec();
}

bool printImage(QPrinter& printer, const QPixmap& image) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    return painter.end();
}

QString printFailedText() {
    return QStringLiteral("打印失败：打印机或文件无法写入，请检查打印机或选择其它文件。");
}

namespace {

// Prints `image` through the print dialog over `parent`; `name` names the PDF file
// offered when there is no printer.
void printThroughDialog(QWidget* parent, const QPixmap& image, const QString& name,
                        const QString& dialogTitle, Services& services) {
    QPrinter printer;
    // With no printer the dialog offers its "print to file (PDF)" choice, here preset.
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        printer.setOutputFileName(QDir::home().filePath(name + QStringLiteral(".pdf")));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(dialogTitle);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printImage(printer, image)) services.messageBox(printFailedText(), Buttons::Ok, QString());
}

}  // namespace

void WidgetServices::printWindow(QObject* window) {
    auto* w = qobject_cast<QWidget*>(window);
    if (!w) return;
    QWidget* top = w->window();
    printThroughDialog(top, top->grab(), top->windowTitle(), QStringLiteral("打印屏幕"), *this);
}

void WidgetServices::printPicture(QObject* picture, const QString& title) {
    auto* w = qobject_cast<QWidget*>(picture);
    if (!w) return;
    printThroughDialog(w->window(), w->grab(), title, QStringLiteral("打印") + title, *this);
}

void WidgetServices::openWebPage(const QString& url) {
    if (url.isEmpty()) {
        messageBox(noDocumentationText(), Buttons::Ok, QString());
        return;
    }
    QDesktopServices::openUrl(QUrl(url));
}

double WidgetServices::random() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

void WidgetServices::reseedRandom() {
    engine_.seed(static_cast<std::mt19937_64::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

// ---- Windows ----------------------------------------------------------------

namespace {

struct Registry {
    QHash<QString, WindowFactory> factories;
    QHash<QString, QPointer<QWidget>> open;
};

Registry& registry() {
    static Registry r;
    return r;
}

void bringForward(QWidget* w) {
    if (w->isMinimized()) w->showNormal();
    w->show();
    w->raise();
    w->activateWindow();
}

}  // namespace

void registerWindow(const QString& name, WindowFactory factory) {
    registry().factories.insert(name, std::move(factory));
}

void unregisterWindow(const QString& name) { registry().factories.remove(name); }

bool isWindowRegistered(const QString& name) {
    return registry().factories.contains(name) || registry().open.value(name);
}

QWidget* openWindow(const QString& name) { return registry().open.value(name); }

void adoptWindow(const QString& name, QWidget* window) { registry().open.insert(name, window); }

QWidget* showWindow(const QString& name) {
    Registry& r = registry();
    QWidget* w = r.open.value(name);
    if (!w) {
        auto f = r.factories.constFind(name);
        if (f == r.factories.constEnd()) {
            qWarning("no window is registered as \"%s\"", qPrintable(name));
            return nullptr;
        }
        w = (*f)();
        if (!w) return nullptr;
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->setWindowModality(Qt::NonModal);
        r.open.insert(name, w);
    }
    bringForward(w);
    return w;
}

void replaceText(QLineEdit* box, const QString& text) {
    if (box->text() == text) return;
    box->selectAll();
    box->insert(text);
}

void setBackgroundColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor backgroundColour(const QWidget* w) { return w->palette().color(QPalette::Button); }

}  // namespace hc::ui
