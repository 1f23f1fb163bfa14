#include "tools/windows/form205.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/text_box.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

struct OpButton {
    MatrixOp op;
    const char* caption;
    const char* tip;
};

constexpr OpButton kButtons[] = {
    {MatrixOp::Add, "A+B", "两个矩阵相加"},
    {MatrixOp::Sub, "A−B", "两个矩阵相减"},
    {MatrixOp::Mul, "A×B", "矩阵相乘：A 的列数等于 B 的行数"},
    {MatrixOp::Scale, "k·A", "数 k 乘矩阵 A（k 写在右边的框中）"},
    {MatrixOp::Transpose, "转置", "A 的转置矩阵"},
    {MatrixOp::Det, "行列式", "方阵 A 的行列式"},
    {MatrixOp::Inverse, "逆矩阵", "方阵 A 的逆矩阵"},
    {MatrixOp::Rank, "秩", "A 的秩"},
    {MatrixOp::Trace, "迹", "方阵 A 对角线元素之和"},
    {MatrixOp::Power, "Aⁿ", "A 的 n 次幂（n 写在右边的框中，负数要求 A 可逆）"},
    {MatrixOp::Rref, "行最简形", "A 的行最简形（简化行阶梯形）"},
};

}  // namespace

Form205::Form205() : ExactToolWindow(window_ids::kForm205.name(), QStringLiteral("矩阵计算")) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(
        ui::headingLabel(this, QStringLiteral("Label1"), QStringLiteral("矩阵计算（精确）")), 0, 0,
        1, 2);
    grid->addWidget(ui::namedLabel(this, QStringLiteral("LabelA"),
                                   QStringLiteral("矩阵 A（每行一行，单元格可以是算式）")),
                    1, 0);
    grid->addWidget(ui::namedLabel(this, QStringLiteral("LabelB"), QStringLiteral("矩阵 B")), 1, 1);
    textA_ = new ui::TextBox(this);
    textA_->setObjectName(QStringLiteral("TextA"));
    textA_->setFont(ui::monospacedFont());
    textA_->setText(QStringLiteral("1  1/2  1/3\r\n1/2  1/3  1/4\r\n1/3  1/4  1/5\r\n"));
    textB_ = new ui::TextBox(this);
    textB_->setObjectName(QStringLiteral("TextB"));
    textB_->setFont(ui::monospacedFont());
    for (ui::TextBox* t : {textA_, textB_}) {
        t->setLineWrapMode(QPlainTextEdit::NoWrap);
        t->setMinimumSize(270, 140);
    }
    grid->addWidget(textA_, 2, 0);
    grid->addWidget(textB_, 2, 1);

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelNumber"), QStringLiteral("数 k 或幂次 n")));
    number_ = ui::namedLineEdit(this, QStringLiteral("TextNumber"), QStringLiteral("2"));
    numberRow->addWidget(number_);
    numberRow->addStretch();
    grid->addLayout(numberRow, 3, 0, 1, 2);

    auto* buttons = new QGridLayout;
    int i = 0;
    for (const OpButton& b : kButtons) {
        QPushButton* button =
            ui::namedButton(this, QStringLiteral("Command") + matrixOpName(b.op),
                            QString::fromUtf8(b.caption), QString::fromUtf8(b.tip));
        buttons->addWidget(button, i / 6, i % 6);
        const MatrixOp op = b.op;
        connect(button, &QPushButton::clicked, this,
                ui::guardedSlot([this, op] { compute(op); }, objectName()));
        buttons_.append(button);
        ++i;
    }
    grid->addLayout(buttons, 4, 0, 1, 2);
    addOptions(grid, 5, 2);
    grid->addWidget(makeOutput(), 6, 0, 1, 2);
}

QPushButton* Form205::button(MatrixOp op) const {
    for (QPushButton* b : buttons_)
        if (b->objectName() == QStringLiteral("Command") + matrixOpName(op)) return b;
    return nullptr;
}

void Form205::compute(MatrixOp op) {
    runJob([op, a = textA_->text(), b = textB_->text(), number = number_->text(),
            separator = separator(), settings = settings(),
            style = style()](const CancelFlag* cancel) {
        const MatrixRun run =
            runMatrixOperation(op, a, b, number, separator, settings, style, cancel);
        return JobResult{run.output, run.cancelled};
    });
}

void Form205::setRunning(bool on) {
    for (QPushButton* b : buttons_) b->setEnabled(!on);
    textA_->setReadOnly(on);
    textB_->setReadOnly(on);
    number_->setReadOnly(on);
}

}  // namespace hc
