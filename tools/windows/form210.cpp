#include "tools/windows/form210.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "tools/decomposition.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {

Form210::Form210(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm210.name());
    setWindowTitle(QStringLiteral("原数分解为整数和小数部分"));
    auto* grid = new QGridLayout(this);
    auto box = [this](const QString& name, const QString& text) {
        QLineEdit* b = ui::namedLineEdit(this, name, text);
        ui::fitWidth(b, QString(32, u'0'));
        return b;
    };
    text1_ = box(QStringLiteral("Text1"), QString());
    text2_ = box(QStringLiteral("Text2"), QStringLiteral("整数部分"));
    text3_ = box(QStringLiteral("Text3"), QStringLiteral("小数部分"));
    QPushButton* c1 = ui::namedButton(this, QStringLiteral("Command1"), QStringLiteral("运  行"));
    grid->addWidget(text1_, 0, 0, 1, 2);
    grid->addWidget(text2_, 1, 0);
    grid->addWidget(text3_, 1, 1);
    grid->addWidget(c1, 2, 0, 1, 2, Qt::AlignHCenter);
    connect(c1, &QPushButton::clicked, this, ui::guardedSlot([this] { run(); }));
}

void Form210::run() {
    const Decomposition d = decomposeNumber(text1_->text());
    text2_->setText(d.integerPart);
    text3_->setText(d.fractionPart);
}

}  // namespace hc
