#include "tools/windows/calculus_window.h"

#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <new>
#include <thread>

#include "ui/services.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

}  // namespace

CalculusWindow::CalculusWindow(Mode mode, QWidget* parent) : QWidget(parent), mode_(mode) {
    using namespace window_ids;
    auto* grid = new QGridLayout(this);
    int row = 0;
    QString heading;
    switch (mode) {
        case Mode::Integral:
            setObjectName(kForm212.name());
            heading = q("积分计算");
            break;
        case Mode::DerivativeAndRoot:
            setObjectName(kForm211.name());
            heading = q("微分计算");
            break;
        case Mode::Propagation:
            setObjectName(kForm204.name());
            heading = q("误差计算");
            break;
    }
    setWindowTitle(heading);
    grid->addWidget(ui::headingLabel(this, q("Label0"), heading), row++, 0, 1, 4);

    const auto labelled = [&](const QString& name, const QString& caption, QLineEdit*& edit,
                              const QString& text) {
        grid->addWidget(ui::namedLabel(this, name + q("Label"), caption), row, 0);
        edit = ui::namedLineEdit(this, name, text);
        grid->addWidget(edit, row++, 1, 1, 3);
    };
    const QString fCaption = mode == Mode::Propagation ? q("函数 f(r…z)") : q("函数 f(x)");
    labelled(q("Text1"), fCaption, function_, QString());
    ui::fitWidth(function_, QString(48, u'0'));

    if (mode == Mode::Integral) {
        labelled(q("Text2"), q("下限 a"), text2_, q("0"));
        labelled(q("Text3"), q("上限 b（可写 ∞）"), text3_, q("1"));
        buttons_ << ui::namedButton(this, q("Command1"), q("积  分"));
    } else if (mode == Mode::DerivativeAndRoot) {
        labelled(q("Text2"), q("求导点 x0"), text2_, q("1"));
        labelled(q("Text3"), q("求根区间 a"), text3_, q("0"));
        labelled(q("Text4"), q("求根区间 b"), text4_, q("1"));
        buttons_ << ui::namedButton(this, q("Command1"), q("一阶导数"))
                 << ui::namedButton(this, q("Command2"), q("二阶导数"))
                 << ui::namedButton(this, q("Command3"), q("求  根"));
    } else {
        grid->addWidget(ui::namedLabel(this, q("Text2Label"),
                                       q("每行一个变量：r=值±中误差；相关系数：r,s=系数")),
                        row++, 0, 1, 4);
        inputs_ = new QPlainTextEdit(this);
        inputs_->setObjectName(q("Text2"));
        inputs_->setFont(ui::monospacedFont());
        inputs_->setMaximumHeight(ui::pixelsFromTwips(this, 1600));
        grid->addWidget(inputs_, row++, 0, 1, 4);
        buttons_ << ui::namedButton(this, q("Command1"), q("计  算"));
    }

    grid->addWidget(ui::namedLabel(this, q("Combo1Label"), q("角度单位")), row, 0);
    angle_ = new QComboBox(this);
    angle_->setObjectName(q("Combo1"));
    angle_->addItems({q("弧度"), q("百分度"), q("度分秒")});
    grid->addWidget(angle_, row, 1);
    grid->addWidget(ui::namedLabel(this, q("Spin1Label"), q("小数位数")), row, 2);
    decimals_ = new QSpinBox(this);
    decimals_->setObjectName(q("Spin1"));
    decimals_->setRange(0, 28);
    decimals_->setValue(15);
    grid->addWidget(decimals_, row++, 3);

    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* b : buttons_) buttonRow->addWidget(b);
    grid->addLayout(buttonRow, row++, 0, 1, 4);

    output_ = new QPlainTextEdit(this);
    output_->setObjectName(q("TextOut"));
    output_->setReadOnly(true);
    output_->setFont(ui::monospacedFont());
    output_->setMinimumHeight(ui::pixelsFromTwips(this, 2400));
    grid->addWidget(output_, row++, 0, 1, 4);
    grid->addWidget(
        ui::namedLabel(this, q("Label9"),
                       q("计算时间较长时按 Esc 键停止。函数中的对数、反三角函数只算到 15 "
                         "位有效数字，结果会注明。")),
        row++, 0, 1, 4);

    if (!buttons_.isEmpty())
        connect(buttons_[0], &QPushButton::clicked, this, ui::guardedSlot([this] { command1(); }));
    if (buttons_.size() > 2) {
        connect(buttons_[1], &QPushButton::clicked, this, ui::guardedSlot([this] { command2(); }));
        connect(buttons_[2], &QPushButton::clicked, this, ui::guardedSlot([this] { command3(); }));
    }
}

CalculusWindow::~CalculusWindow() { cancel(); }

CalcSettings CalculusWindow::settings() const {
    CalcSettings s;
    s.displayDecimals = decimals_->value();
    const AngleUnit units[] = {kRadians, kDecimalDegrees, kPackedDms};
    s.angleUnit = units[std::clamp(angle_->currentIndex(), 0, 2)];
    return s;
}

void CalculusWindow::command1() {
    const QString f = function_->text();
    const CalcSettings s = settings();
    switch (mode_) {
        case Mode::Integral:
            run([f, s, a = text2_->text(), b = text3_->text()](const CancelFlag* c) {
                return integrate(f, a, b, s, c);
            });
            break;
        case Mode::DerivativeAndRoot:
            run([f, s, x0 = text2_->text()](const CancelFlag* c) {
                return derive(f, x0, 1, s, c);
            });
            break;
        case Mode::Propagation:
            run([f, s, lines = inputs_->toPlainText()](const CancelFlag* c) {
                return propagateLines(f, lines, s, c);
            });
            break;
    }
}

void CalculusWindow::command2() {
    if (mode_ != Mode::DerivativeAndRoot) return;
    run([f = function_->text(), s = settings(), x0 = text2_->text()](const CancelFlag* c) {
        return derive(f, x0, 2, s, c);
    });
}

void CalculusWindow::command3() {
    if (mode_ != Mode::DerivativeAndRoot) return;
    run([f = function_->text(), s = settings(), a = text3_->text(),
         b = text4_->text()](const CancelFlag* c) { return findRoot(f, a, b, s, c); });
}

void CalculusWindow::cancel() {
    if (running_) running_->store(true);
}

void CalculusWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(e);
}

void CalculusWindow::setRunning(bool on) {
    for (QPushButton* b : buttons_) b->setEnabled(!on);
}

void CalculusWindow::run(const std::function<CalculusResult(const CancelFlag*)>& job) {
    if (running_) return;
    auto flag = std::make_shared<std::atomic<bool>>(false);
    running_ = flag;
    setRunning(true);
    output_->setPlainText(q("正在计算，按 Esc 键停止……"));
    CalculusResult r;
    bool outOfMemory = false;
    QEventLoop loop;
    std::thread worker([&r, &outOfMemory, &loop, &job, flag] {
        try {
            r = job(flag.get());
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QPointer<CalculusWindow> self(this);
    loop.exec();
    flag->store(true);
    worker.join();
    if (!self) return;
    running_.reset();
    setRunning(false);
    if (outOfMemory) {
        output_->setPlainText(ui::outOfMemoryNoticeText());
        ui::messageBox(ui::outOfMemoryNoticeText());
        return;
    }
    output_->setPlainText(r.output);
    ui::showNotices(r.notices);
}

}  // namespace hc
