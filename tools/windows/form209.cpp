#include "tools/windows/form209.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>
#include <thread>

#include "tools/regression.h"
#include "tools/statistics_command.h"
#include "tools/windows/chart_window.h"
#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

using ui::namedButton;
using ui::namedLabel;

QFont monospaced() {
    QFont f = ui::monospacedFont();
    f.setPixelSize(14);
    return f;
}

QString initialData() { return QStringLiteral("2.1*1\r\n3.9*2\r\n6.2*3\r\n7.8*4\r\n10.1*5\r\n"); }

QString outOfMemoryText() {
    return QStringLiteral("内存不足，无法完成这个回归。请减少数据或关闭其它程序后再试。");
}

}  // namespace

Form209::Form209(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm209.name());
    setWindowTitle(QStringLiteral("线性回归"));
    auto* root = new QVBoxLayout(this);
    root->addWidget(
        ui::headingLabel(this, QStringLiteral("Label1"), QStringLiteral("线性回归模块")));

    // "前 [n] 列为序号,用 [c] 作分隔符。"
    auto* options = new QHBoxLayout;
    options->addWidget(namedLabel(this, QStringLiteral("Label2"), QStringLiteral("前")));
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->addItems(
        {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    combo1_->setToolTip(QStringLiteral("每行前面有几个单元格是序号或名称（不参加回归）。"));
    options->addWidget(combo1_);
    options->addWidget(namedLabel(this, QStringLiteral("Label3"), QStringLiteral("列为序号,用")));
    combo2_ = new QComboBox(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    combo2_->addItems(statSeparatorChoices());
    combo2_->setToolTip(QStringLiteral("选空格时，连续的空格和制表符都当作一个分隔符。"));
    options->addWidget(combo2_);
    options->addWidget(namedLabel(this, QStringLiteral("Label4"), QStringLiteral("作分隔符。")));
    options->addStretch(1);
    root->addLayout(options);

    // The model: y and x columns, degree, constant term, residuals, digits.
    auto* model = new QHBoxLayout;
    model->addWidget(namedLabel(this, QStringLiteral("Label5"), QStringLiteral("y 列")));
    textY_ = ui::namedLineEdit(this, QStringLiteral("TextY"), QStringLiteral("1"));
    textY_->setToolTip(QStringLiteral("因变量 y 所在的列号，从序号之后数起，从 1 开始。"));
    ui::fitWidth(textY_, QStringLiteral("0000"));
    model->addWidget(textY_);
    model->addWidget(namedLabel(this, QStringLiteral("Label6"), QStringLiteral("x 列")));
    textX_ = ui::namedLineEdit(this, QStringLiteral("TextX"), QStringLiteral("2"));
    textX_->setToolTip(
        QStringLiteral("自变量 x 所在的列号，多元回归时用逗号隔开（最多 16 列），如 2,3,4。"));
    ui::fitWidth(textX_, QStringLiteral("2,3,4,5,6,7"));
    model->addWidget(textX_);
    model->addWidget(namedLabel(this, QStringLiteral("Label7"), QStringLiteral("多项式次数")));
    combo3_ = new QComboBox(this);
    combo3_->setObjectName(QStringLiteral("Combo3"));
    for (int d = 1; d <= kMaxRegressionDegree; ++d) combo3_->addItem(QString::number(d));
    combo3_->setToolTip(QStringLiteral("1 为直线（或多元线性）；2-10 为对一个 x 列的多项式回归。"));
    model->addWidget(combo3_);
    check1_ = new QCheckBox(QStringLiteral("含常数项"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setChecked(true);
    model->addWidget(check1_);
    check2_ = new QCheckBox(QStringLiteral("列出拟合值和残差"), this);
    check2_->setObjectName(QStringLiteral("Check2"));
    model->addWidget(check2_);
    model->addWidget(namedLabel(this, QStringLiteral("Label8"), QStringLiteral("结果保留")));
    spin1_ = new QSpinBox(this);
    spin1_->setObjectName(QStringLiteral("Spin1"));
    spin1_->setRange(1, kMaxRegressionDigits);
    spin1_->setValue(15);
    model->addWidget(spin1_);
    combo4_ = new QComboBox(this);
    combo4_->setObjectName(QStringLiteral("Combo4"));
    combo4_->addItems({QStringLiteral("位有效数字"), QStringLiteral("位小数")});
    model->addWidget(combo4_);
    model->addStretch(1);
    root->addLayout(model);

    // The data box and the buttons beside it.
    auto* middle = new QHBoxLayout;
    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(monospaced());
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setMinimumSize(text1_->fontMetrics().horizontalAdvance(QString(44, u'0')),
                           text1_->fontMetrics().lineSpacing() * 8);
    middle->addWidget(text1_, 1);
    auto* side = new QVBoxLayout;
    auto* hint = namedLabel(
        this, QStringLiteral("Label9"),
        QStringLiteral(
            "  每行一组数据，数值之间用分隔符隔开，用回车符结束当前行。按 Esc 停止计算。"));
    hint->setWordWrap(true);
    hint->setMaximumWidth(220);
    side->addWidget(hint);
    command1_ = namedButton(this, QStringLiteral("Command1"), QStringLiteral("回 归"),
                            QStringLiteral("用最小二乘法精确计算线性回归"));
    QFont big = command1_->font();
    big.setBold(true);
    command1_->setFont(big);
    command1_->setMinimumHeight(36);
    side->addWidget(command1_);
    auto* print =
        namedButton(this, QStringLiteral("Command2"), QStringLiteral("打屏幕"),
                    QStringLiteral("打印当前屏幕的所有内容，安装打印机后才可执行打印功能"));
    side->addWidget(print);
    side->addStretch(1);
    middle->addLayout(side);
    root->addLayout(middle, 1);

    text2_ = new ui::TextBox(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setFont(monospaced());
    text2_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text2_->setReadOnly(true);
    text2_->setMinimumHeight(text2_->fontMetrics().lineSpacing() * 16);
    root->addWidget(text2_, 2);
    // The chart button goes under the print button; it watches the output box.
    side->insertWidget(
        side->indexOf(print) + 1,
        addChartButton(
            this, QStringLiteral("散点图"), QStringLiteral("画出散点图、拟合曲线和残差图"),
            ChartWindow::Kind::Regression,
            [this](int, int) { return isComputing() ? ChartJob{} : regressionJob(input()); },
            text2_));

    connect(command1_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { compute(); }, objectName()));
    connect(print, &QPushButton::clicked, this,
            ui::guardedSlot([this] { ui::services().printWindow(this); }, objectName()));
    connect(combo4_, &QComboBox::currentIndexChanged, this, [this](int index) {
        ui::runGuarded([this, index] { spin1_->setMinimum(index == 0 ? 1 : 0); }, objectName());
    });
    auto* esc =
        new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, [this] { cancel(); });

    text1_->setText(initialData());
}

Form209::~Form209() { cancel(); }

void Form209::cancel() {
    if (running_) running_->store(true);
}

void Form209::keyPressEvent(QKeyEvent* e) {
    // Esc reaches here from the boxes, which leave it unused, when the window's
    // shortcut did not take it.
    if (e->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Form209::setComputing(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{command1_, combo1_, combo2_, combo3_, combo4_,
                                                      textY_, textX_, check1_, check2_, spin1_})
        w->setEnabled(!on);
    text1_->setReadOnly(on);
}

RegressionInput Form209::input() const {
    RegressionInput in;
    in.data = text1_->text();
    in.yColumn = textY_->text();
    in.xColumns = textX_->text();
    in.degree = combo3_->currentText();
    in.labelCells = combo1_->currentText();
    in.separator = combo2_->currentText();
    in.intercept = check1_->isChecked();
    in.residuals = check2_->isChecked();
    in.significant = combo4_->currentIndex() == 0;
    in.digits = spin1_->value();
    return in;
}

void Form209::compute() {
    if (running_) return;
    const RegressionInput in = input();

    auto flag = std::make_shared<std::atomic<bool>>(false);
    running_ = flag;
    setComputing(true);
    text2_->setText(QStringLiteral("正在计算……（按 Esc 停止）"));

    // The worker shares nothing with the window but its copy of the input and the flag.
    RegressionResult r;
    bool outOfMemory = false;
    QEventLoop loop;
    std::thread worker([&r, &outOfMemory, &loop, &in, flag] {
        try {
            r = runRegressionInput(in, flag.get());
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QPointer<Form209> self(this);
    loop.exec();
    // The loop also ends when the application quits: the fit is then stopped.
    flag->store(true);
    worker.join();
    if (!self) return;
    running_.reset();
    setComputing(false);

    if (outOfMemory) {
        text2_->setText(outOfMemoryText());
        ui::messageBox(outOfMemoryText());
        return;
    }
    ui::showNotices(r.notices);
    text2_->setText(r.text);
}

}  // namespace hc
