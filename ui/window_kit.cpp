#include "ui/window_kit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <exception>
#include <new>

#include "ui/services.h"

namespace hc::ui {

QFont cjkFont(int pointSize) {
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPointSize(pointSize);
    return f;
}

QFont monospacedFont(qreal pointSize) {
    QFont f(QStringLiteral("Noto Sans Mono CJK SC"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(pointSize);
    return f;
}

void enlargeFont(QWidget* w, int points) {
    QFont f = w->font();
    f.setPointSize(f.pointSize() + points);
    f.setBold(true);
    w->setFont(f);
}

QLabel* headingLabel(QWidget* parent, const QString& name, const QString& caption) {
    QLabel* l = namedLabel(parent, name, caption);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel* namedLabel(QWidget* parent, const QString& name, const QString& caption,
                   const QString& tip) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    if (!tip.isEmpty()) l->setToolTip(tip);
    return l;
}

QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption,
                         const QString& tip) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

QLineEdit* namedLineEdit(QWidget* parent, const QString& name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

void fitWidth(QWidget* w, const QString& sample, int extra) {
    w->setMinimumWidth(w->fontMetrics().horizontalAdvance(sample) + extra);
}

int pixelsFromTwips(const QWidget* w, int twips) {
    return qRound(twips * w->logicalDpiX() / 1440.0);
}

int twipsFromPixels(const QWidget* w, int pixels) {
    return qRound(pixels * 1440.0 / w->logicalDpiX());
}

QString outOfMemoryNoticeText() {
    return QStringLiteral("内存不足，这一步操作没有完成。请减少数据后再试。");
}

QString handlerFailedText(const QString& detail) {
    return QStringLiteral("程序出错，这一步操作没有完成：%1").arg(detail);
}

bool runGuarded(const std::function<void()>& handler, const QString& what) {
    QString notice;
    try {
        handler();
        return true;
    } catch (const std::bad_alloc&) {
        qWarning("%s: out of memory", qPrintable(what));
        notice = outOfMemoryNoticeText();
    } catch (const std::exception& e) {
        qWarning("%s: %s", qPrintable(what), e.what());
        notice = handlerFailedText(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        qWarning("%s: unknown exception", qPrintable(what));
        notice = handlerFailedText(QStringLiteral("未知的错误"));
    }
    // Outside the catch: the box runs an event loop, and memory may be short.
    try {
        messageBox(notice);
    } catch (...) {
        qWarning("%s: the message box could not be shown", qPrintable(what));
    }
    return false;
}

}  // namespace hc::ui
