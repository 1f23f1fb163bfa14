#include "calculator/form3.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "calculator/windows.h"
#include "engine/calc_log.h"
#include "engine/number_routines.h"
#include "ui/services.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {

Form3::Form3(CalcSettings& settings, QWidget* parent) : QWidget(parent), settings_(settings) {
    setObjectName(window_ids::kForm3.name());
    setWindowTitle(QStringLiteral("修改变量"));
    auto* grid = new QGridLayout(this);
    const QString letters = QStringLiteral("rstuvwxyz");
    for (int i = 0; i < 9; ++i) {
        QLabel* label = ui::namedLabel(this, QStringLiteral("Label%1").arg(i + 2),
                                       QStringLiteral("变量  %1 =").arg(letters[i]));
        boxes_[i] = ui::namedLineEdit(this, QStringLiteral("Text%1").arg(i + 1));
        boxes_[i]->setMinimumWidth(260);
        grid->addWidget(label, i, 0);
        grid->addWidget(boxes_[i], i, 1, 1, 2);
    }
    auto button = [this](const QString& name, const QString& caption) {
        return ui::namedButton(this, name, caption);
    };
    auto* c1 = button(QStringLiteral("Command1"), QStringLiteral("默认为 1"));
    auto* c2 = button(QStringLiteral("Command2"), QStringLiteral("默认1-9"));
    auto* c3 = button(QStringLiteral("Command3"), QStringLiteral("保存修改"));
    auto* c4 = button(QStringLiteral("Command4"), QStringLiteral("保存退出"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {c1, c2, c3, c4}) buttons->addWidget(b);
    grid->addLayout(buttons, 9, 0, 1, 3);
    connect(c1, &QPushButton::clicked, this, ui::guardedSlot([this] { allOnes(); }));
    connect(c2, &QPushButton::clicked, this, ui::guardedSlot([this] { oneToNine(); }));
    connect(c3, &QPushButton::clicked, this, ui::guardedSlot([this] { save(); }));
    connect(c4, &QPushButton::clicked, this, ui::guardedSlot([this] { saveAndClose(); }));

    // Links to the web pages about the calculator.
    auto* c5 = button(QStringLiteral("Command5"), QStringLiteral("访问主页"));
    connect(c5, &QPushButton::clicked, this,
            ui::guardedSlot([] { ui::services().openWebPage(homeUrl()); }));
    auto* links = new QHBoxLayout;
    links->addWidget(c5);
    links->addStretch(1);
    auto link = [this](const QString& name, const QString& caption, const QString& url) {
        auto* l = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(url, caption), this);
        l->setObjectName(name);
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(l, &QLabel::linkActivated, this,
                [](const QString& u) { ui::runGuarded([&u] { ui::services().openWebPage(u); }); });
        return l;
    };
    links->addWidget(link(QStringLiteral("Label1"), QStringLiteral("禾川计算器"), homeUrl()));
    links->addSpacing(12);
    links->addWidget(link(QStringLiteral("Label12"), QStringLiteral("使用说明"), manualUrl()));
    grid->addLayout(links, 10, 0, 1, 3);

    // Load.
    for (QLineEdit* b : boxes_) b->setEnabled(true);
    showValues();
}

void Form3::showValues() {
    for (int i = 0; i < 9; ++i) boxes_[i]->setText(settings_.memory[i].text());
}

void Form3::allOnes() {
    for (int i = 0; i < 9; ++i) settings_.memory[i] = Num::ofInt(1);
    showValues();
}

void Form3::oneToNine() {
    for (int i = 0; i < 9; ++i) settings_.memory[i] = Num::ofInt(i + 1);
    showValues();
}

void Form3::save() {
    for (int i = 0; i < 9; ++i) {
        EngineReport ignored;  // a text that is no number is stored as the value it reads as
        settings_.memory[i] =
            checkedCall([&] { return ZelChuanZhuanShu(Num::ofText(boxes_[i]->text())); }, ignored);
    }
    showValues();
}

void Form3::saveAndClose() {
    save();
    close();
}

}  // namespace hc
