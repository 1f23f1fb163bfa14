#include "tools/windows/form202.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "tools/angle_conversion.h"
#include "ui/services.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption) {
    return ui::namedLabel(parent, name, caption);
}

QLabel* helpLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = label(parent, name, caption);
    l->setWordWrap(true);
    return l;
}

QString initialCaption() { return QStringLiteral("原始角度数"); }

}  // namespace

Form202::Form202(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm202.name());
    setWindowTitle(QStringLiteral("角度变换"));
    auto* root = new QVBoxLayout(this);

    root->addWidget(ui::headingLabel(this, QStringLiteral("Label3"), QStringLiteral("角度变换")));

    auto* boxes = new QGridLayout;
    label1_ = label(this, QStringLiteral("Label1"), initialCaption());
    text1_ = ui::namedLineEdit(this, QStringLiteral("Text1"));
    text1_->installEventFilter(this);
    text2_ = ui::namedLineEdit(this, QStringLiteral("Text2"));
    const int width = text1_->fontMetrics().horizontalAdvance(QString(34, u'0'));
    text1_->setMinimumWidth(width);
    text2_->setMinimumWidth(width);
    label1_->setMinimumWidth(
        label1_->fontMetrics().horizontalAdvance(QStringLiteral("度分秒==>百分度")));
    boxes->addWidget(label1_, 0, 0);
    boxes->addWidget(text1_, 0, 1);
    boxes->addWidget(label(this, QStringLiteral("Label2"), QStringLiteral("转换结果")), 1, 0);
    boxes->addWidget(text2_, 1, 1);
    root->addLayout(boxes);

    auto* buttons = new QGridLayout;
    for (int i = 0; i < kAngleConversions; ++i) {
        QPushButton* b = ui::namedButton(this, QStringLiteral("Command%1").arg(i + 1),
                                         angleButtonCaption(angleConversion(i)));
        buttons->addWidget(b, i / 2, i % 2);
        connect(b, &QPushButton::clicked, this, ui::guardedSlot([this, i] { convert(i); }));
    }
    root->addLayout(buttons);

    root->addWidget(
        helpLabel(this, QStringLiteral("Label4"),
                  QStringLiteral(
                      "弧度制：用圆周率3。1415926...代表180度（平角）。1.57079632679 接近直角。")));
    root->addWidget(helpLabel(
        this, QStringLiteral("Label5"),
        QStringLiteral(
            "百分度制：用360度代表一周，再把一度按100进制表示。89.99999999999 接近直角。")));
    root->addWidget(helpLabel(
        this, QStringLiteral("Label6"),
        QStringLiteral(
            "度分秒制：用360度代表一周，再把分秒按60进制表示。89.59599999999 接近直角。")));
    root->addWidget(helpLabel(
        this, QStringLiteral("Label7"),
        QStringLiteral("梯度进制：Windows计算器中采用400度代表一周，100度代表直角。将[梯度进制]"
                       "转换为[百分度制]，乘以0.9；将[百分度制]转换为[梯度进制]，除以0.9。      "
                       "        备注：由于[梯度进制]在日常应用中使用较少，并且容易转换为百分度，"
                       "本人没有设置专用转换软件，请另行计算。")));
    root->addStretch(1);
    // The wrapped help lines give the window no least height of its own: take the
    // height the layout needs at its least width.
    const int least = root->totalMinimumSize().width();
    setMinimumSize(least, root->totalHeightForWidth(least));
}

void Form202::convert(int index) {
    const AngleConversionResult r = convertAngle(angleConversion(index), text1_->text());
    label1_->setText(r.direction);
    ui::replaceText(text1_, r.input);
    ui::showNotices(r.notices);
    text2_->setText(r.result);
    text1_->setCursorPosition(0);
    text2_->setCursorPosition(0);
}

bool Form202::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text1_ && event->type() == QEvent::KeyPress) label1_->setText(initialCaption());
    return QWidget::eventFilter(watched, event);
}

}  // namespace hc
