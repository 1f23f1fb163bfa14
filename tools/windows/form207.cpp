#include "tools/windows/form207.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "tools/linear_system.h"
#include "ui/text_box.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {

Form207::Form207() : ExactToolWindow(window_ids::kForm207.name(), QStringLiteral("解多元方程")) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(ui::headingLabel(this, QStringLiteral("Label1"),
                                     QStringLiteral("解多元一次方程组（精确）")),
                    0, 0);
    grid->addWidget(ui::namedLabel(this, QStringLiteral("Label2"),
                                   QStringLiteral("每行一个方程，未知数写作 x1、x2 … 或 r … z；"
                                                  "也可以每行输入增广矩阵的一行")),
                    1, 0);
    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(ui::monospacedFont());
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setMinimumSize(560, 140);
    text1_->setText(
        QStringLiteral("2x1 + 3x2 - x3 = 5\r\nx1 - x2 + 2x3 = 5\r\n3x1 + x2 + x3 = 8\r\n"));
    grid->addWidget(text1_, 2, 0);
    command1_ = ui::namedButton(this, QStringLiteral("Command1"), QStringLiteral("解 方 程"));
    grid->addWidget(command1_, 3, 0, Qt::AlignHCenter);
    connect(command1_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { solve(); }, objectName()));
    addOptions(grid, 4, 1);
    grid->addWidget(makeOutput(), 5, 0);
}

void Form207::solve() {
    runJob([text = text1_->text(), separator = separator(), settings = settings(),
            style = style()](const CancelFlag* cancel) {
        const SolveRun run = runSolve(text, separator, settings, style, cancel);
        return JobResult{run.output, run.cancelled};
    });
}

void Form207::setRunning(bool on) {
    command1_->setEnabled(!on);
    text1_->setReadOnly(on);
}

}  // namespace hc
