#include "tools/windows/exact_tool_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QShortcut>
#include <new>
#include <thread>

#include "ui/text_box.h"
#include "ui/window_kit.h"

namespace hc {

ExactToolWindow::ExactToolWindow(const QString& name, const QString& title) {
    setObjectName(name);
    setWindowTitle(title);
    setFont(ui::cjkFont());
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, [this] { cancel(); });
}

void ExactToolWindow::addOptions(QGridLayout* grid, int row, int columns) {
    auto* options = new QHBoxLayout;
    options->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelDecimals"), QStringLiteral("小数位数")));
    decimals_ = new QComboBox(this);
    decimals_->setObjectName(QStringLiteral("ComboDecimals"));
    for (int d = 0; d <= 28; ++d) decimals_->addItem(QString::number(d));
    decimals_->setCurrentIndex(15);
    options->addWidget(decimals_);
    options->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelSeparator"), QStringLiteral("分隔符")));
    separator_ = new QComboBox(this);
    separator_->setObjectName(QStringLiteral("ComboSeparator"));
    separator_->addItems({QStringLiteral("自动"), QStringLiteral("Tab"), QStringLiteral(","),
                          QStringLiteral(";"), QStringLiteral("空格"), QStringLiteral("|")});
    separator_->setToolTip(
        QStringLiteral("自动：一行中有制表符、逗号或分号时按它分开，否则按空格分开"));
    options->addWidget(separator_);
    options->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelAngle"), QStringLiteral("角度单位")));
    angle_ = new QComboBox(this);
    angle_->setObjectName(QStringLiteral("ComboAngle"));
    angle_->addItems(
        {QStringLiteral("弧度角"), QStringLiteral("百分度.9999"), QStringLiteral("度分秒.5959")});
    angle_->setToolTip(QStringLiteral("单元格中三角函数的角度单位"));
    options->addWidget(angle_);
    fractions_ = new QCheckBox(QStringLiteral("分数"), this);
    fractions_->setObjectName(QStringLiteral("CheckFractions"));
    fractions_->setToolTip(QStringLiteral("精确结果写成分数，如 -7/12"));
    options->addWidget(fractions_);
    options->addStretch();
    grid->addLayout(options, row, 0, 1, columns);
}

ui::TextBox* ExactToolWindow::makeOutput() {
    output_ = new ui::TextBox(this);
    output_->setObjectName(QStringLiteral("TextOutput"));
    output_->setReadOnly(true);
    output_->setFont(ui::monospacedFont());
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    output_->setMinimumSize(560, 200);
    return output_;
}

CalcSettings ExactToolWindow::settings() const {
    CalcSettings s;
    static constexpr AngleUnit units[] = {kRadians, kDecimalDegrees, kPackedDms};
    s.angleUnit = units[std::clamp(angle_->currentIndex(), 0, 2)];
    return s;
}

ValueStyle ExactToolWindow::style() const {
    return ValueStyle{decimals_->currentIndex(), fractions_->isChecked()};
}

QString ExactToolWindow::separator() const {
    switch (separator_->currentIndex()) {
        case 1:
            return QStringLiteral("\t");
        case 2:
            return QStringLiteral(",");
        case 3:
            return QStringLiteral(";");
        case 4:
            return QStringLiteral(" ");
        case 5:
            return QStringLiteral("|");
        default:
            return QString();
    }
}

QString ExactToolWindow::runningText() { return QStringLiteral("正在计算……按 Esc 键取消。"); }

QString ExactToolWindow::outOfMemoryText() {
    return QStringLiteral("内存不足，无法完成这个计算。请减小矩阵或幂次后再试。");
}

void ExactToolWindow::cancel() {
    if (running_) running_->store(true);
}

void ExactToolWindow::runJob(const Job& job) {
    if (running_) return;
    auto flag = std::make_shared<std::atomic<bool>>(false);
    running_ = flag;
    output_->setText(runningText());
    setRunning(true);
    JobResult result;
    QEventLoop loop;
    std::thread worker([&result, &loop, &job, flag] {
        try {
            result = job(flag.get());
        } catch (const std::bad_alloc&) {
            result = JobResult{outOfMemoryText(), false};
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QPointer<ExactToolWindow> self(this);
    loop.exec();
    // The loop also ends when the application quits: the job is then stopped.
    flag->store(true);
    worker.join();
    if (!self) return;
    running_.reset();
    setRunning(false);
    output_->setText(result.output);
}

// Esc reaches the window here when no shortcut took it (the window not active).
void ExactToolWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && running_) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(e);
}

void ExactToolWindow::closeEvent(QCloseEvent* e) {
    cancel();
    QWidget::closeEvent(e);
}

}  // namespace hc
