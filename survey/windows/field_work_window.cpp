#include "survey/windows/field_work_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/window_kit.h"

namespace hc {

FieldWorkWindow::FieldWorkWindow(const QString& name, const QString& title,
                                 const QString& heading) {
    setObjectName(name);
    setWindowTitle(title);
    setFont(ui::cjkFont(10));
    auto* top = new QVBoxLayout(this);
    top->addWidget(ui::headingLabel(this, QStringLiteral("Label1"), heading));
    options_ = new QGridLayout;
    top->addLayout(options_);

    auto* boxes = new QGridLayout;
    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(ui::monospacedFont(10));
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text2_ = new ui::TextBox(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setFont(ui::monospacedFont(10));
    text2_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text2_->setReadOnly(true);
    ui::fitWidth(text1_, QString(36, u'0'));
    ui::fitWidth(text2_, QString(90, u'0'));
    boxes->addWidget(ui::namedLabel(this, QStringLiteral("Label2"), QStringLiteral("数据")), 0, 0);
    boxes->addWidget(ui::namedLabel(this, QStringLiteral("Label3"), QStringLiteral("成果")), 0, 1);
    boxes->addWidget(text1_, 1, 0);
    boxes->addWidget(text2_, 1, 1);
    boxes->setColumnStretch(0, 2);
    boxes->setColumnStretch(1, 5);
    top->addLayout(boxes, 1);

    auto* buttons = new QHBoxLayout;
    command1_ = ui::namedButton(this, QStringLiteral("Command1"), QStringLiteral("进行计算"));
    command2_ = ui::namedButton(this, QStringLiteral("Command2"), QStringLiteral("示例"),
                                QStringLiteral("在数据框中填入按当前选项写的示例数据"));
    command3_ = ui::namedButton(this, QStringLiteral("Command3"), QStringLiteral("打印屏幕"),
                                QStringLiteral("安装打印机后才可执行打印功能"));
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    buttons->addWidget(command3_);
    buttons->addStretch();
    top->addLayout(buttons);
    buttons_ = buttons;

    connect(command1_, &QPushButton::clicked, this, ui::guardedSlot([this] { calculate(); }, name));
    connect(command2_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { text1_->replaceText(sample()); }, name));
    connect(command3_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { ui::services().printWindow(this); }, name));
}

}  // namespace hc
