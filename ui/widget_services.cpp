#include "ui/widget_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QHash>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTextBlock>
#include <QUrl>
#include <QWidget>
#include <chrono>

namespace hc::ui {

void WidgetServices::messageBox(const QString& prompt, Buttons buttons, const QString& title) {
    QMessageBox box;
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

void WidgetServices::printWindow(QObject* window) {
    auto* w = qobject_cast<QWidget*>(window);
    if (!w || QPrinterInfo::availablePrinterNames().isEmpty()) return;
    QPrinter printer(QPrinterInfo::defaultPrinter());
    if (!printer.isValid()) return;
    QPixmap image = w->window()->grab();
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    painter.end();
}

void WidgetServices::openWebPage(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

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
        if (f == r.factories.constEnd()) return nullptr;
        w = (*f)();
        if (!w) return nullptr;
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->setWindowModality(Qt::NonModal);
        r.open.insert(name, w);
    }
    bringForward(w);
    return w;
}

void setBackgroundColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor backgroundColour(const QWidget* w) { return w->palette().color(QPalette::Button); }

// ---- Text box ---------------------------------------------------------------

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {}

QString TextBox::text() const {
    QString t = toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

void TextBox::setText(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(t);
}

int TextBox::toTextPos(int docPos) const {
    const QString plain = toPlainText();
    return docPos + plain.left(docPos).count(QLatin1Char('\n'));
}

int TextBox::toDocPos(int textPos) const {
    const QString t = text();
    textPos = std::clamp(textPos, 0, static_cast<int>(t.size()));
    return textPos - t.left(textPos).count(QLatin1Char('\r'));
}

int TextBox::selStart() const { return toTextPos(textCursor().selectionStart()); }

int TextBox::selLength() const {
    const QTextCursor c = textCursor();
    return toTextPos(c.selectionEnd()) - toTextPos(c.selectionStart());
}

QString TextBox::selText() const { return text().mid(selStart(), selLength()); }

void TextBox::setSelection(int start, int length) {
    QTextCursor c = textCursor();
    c.setPosition(toDocPos(start));
    c.setPosition(toDocPos(start + std::max(length, 0)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TextBox::focusInEvent(QFocusEvent* e) {
    QPlainTextEdit::focusInEvent(e);
    emit gotFocus();
}

void TextBox::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    emit lostFocus();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

}  // namespace hc::ui
