#include "tools/windows/form201.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <new>
#include <thread>

#include "tools/data_file.h"
#include "tools/statistics_command.h"
#include "tools/windows/chart_window.h"
#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

// Frame and text margins of a result box, beyond the advance of its text.
constexpr int kResultBoxPadding = 12;

QFont monospaced() {
    // The aligned data text keeps its columns; an even pixel size keeps the Latin and
    // Chinese advances whole pixels.
    QFont f = ui::monospacedFont();
    f.setPixelSize(14);
    return f;
}

using ui::namedButton;
using ui::namedLabel;

QString initialData() {
    return QStringLiteral(
        "例1a*2*3*4*5.987\r\n"
        "例2b的*2* *5*6.985\r\n"
        "例3c * 2 * 3.2346 * 6 * \r\n"
        "例4 * 2 * -33 * 7 * 98.7\r\n");
}

QString chooseWithDialog(QWidget* parent, bool save) {
    const QString filter = QStringLiteral("文本文件 (*.txt *.csv *.dat);;所有文件 (*)");
    return save
               ? QFileDialog::getSaveFileName(parent, QStringLiteral("保存数据"), QString(), filter)
               : QFileDialog::getOpenFileName(parent, QStringLiteral("导入数据"), QString(),
                                              filter);
}

}  // namespace

Form201::Form201(QWidget* parent) : QWidget(parent), chooser_(chooseWithDialog) {
    setObjectName(QStringLiteral("Form201"));
    setWindowTitle(QStringLiteral("数理统计"));
    auto* root = new QVBoxLayout(this);

    root->addWidget(
        ui::headingLabel(this, QStringLiteral("Label1"), QStringLiteral("数理统计模块")));

    // "前 [n] 列为序号,用 [c] 作分隔符。"
    auto* options = new QHBoxLayout;
    options->addWidget(namedLabel(this, QStringLiteral("Label17"), QStringLiteral("前")));
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);
    combo1_->addItems(
        {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    combo1_->setToolTip(
        QStringLiteral("前面有多少列数据为字符串--非数字列，则选择几，把前面几列作为非数字处理。"));
    options->addWidget(combo1_);
    options->addWidget(namedLabel(this, QStringLiteral("Label18"), QStringLiteral("列为序号,用")));
    combo2_ = new QComboBox(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    combo2_->setEditable(true);
    combo2_->addItems(statSeparatorChoices());
    combo2_->setToolTip(QStringLiteral("修改分隔符可能造成数据混乱，平时请不要随意修改分隔符！"));
    options->addWidget(combo2_);
    options->addWidget(namedLabel(this, QStringLiteral("Label21"), QStringLiteral("作分隔符。")));
    options->addSpacing(24);
    auto* label14 = namedLabel(this, QStringLiteral("Label14"), QString());
    label14_ = label14;
    options->addWidget(label14);
    options->addStretch(1);
    root->addLayout(options);

    // The data box with its hint and the buttons beside it.
    auto* middle = new QHBoxLayout;
    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(monospaced());
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setMinimumSize(text1_->fontMetrics().horizontalAdvance(QString(44, u'0')),
                           text1_->fontMetrics().lineSpacing() * 9);
    middle->addWidget(text1_, 1);
    // A tab is one of the separators, so the data box keeps Tab; Ctrl+Tab moves on.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), text1_, nullptr, nullptr,
                               Qt::WidgetShortcut);
    connect(next, &QShortcut::activated, this,
            ui::guardedSlot([this] { focusNextChild(); }, objectName()));
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), text1_,
                                   nullptr, nullptr, Qt::WidgetShortcut);
    connect(previous, &QShortcut::activated, this,
            ui::guardedSlot([this] { focusPreviousChild(); }, objectName()));
    auto* side = new QVBoxLayout;
    auto* hint =
        namedLabel(this, QStringLiteral("Label12"),
                   QStringLiteral("  输入数值时必须用分割符分割数值，用回车符结束当前行。"));
    hint->setWordWrap(true);
    hint->setMaximumWidth(220);
    side->addWidget(hint);
    auto* c1 = namedButton(this, QStringLiteral("Command1"), QStringLiteral("统 计"),
                           QStringLiteral("开始进行统计计算"));
    auto* c2 = namedButton(this, QStringLiteral("Command2"), QStringLiteral("打屏幕"),
                           QStringLiteral("打印当前屏幕的所有内容，安装打印机后才可执行打印功能"));
    auto* c3 = namedButton(this, QStringLiteral("Command3"), QStringLiteral("学 习"),
                           QStringLiteral("==>学习统计知识的页面"));
    auto* c4 = namedButton(this, QStringLiteral("Command4"), QStringLiteral("保 存"),
                           QStringLiteral("把当前数据保存为文本文件"));
    auto* c5 = namedButton(this, QStringLiteral("Command5"), QStringLiteral("导 入"),
                           QStringLiteral("从文本文件数据调入到当前文本框"));
    QFont big = c1->font();
    big.setBold(true);
    c1->setFont(big);
    c1->setMinimumHeight(36);
    side->addWidget(c1);
    auto* smallButtons = new QGridLayout;
    smallButtons->addWidget(c2, 0, 0);
    smallButtons->addWidget(c3, 0, 1);
    smallButtons->addWidget(c4, 1, 0);
    smallButtons->addWidget(c5, 1, 1);
    side->addLayout(smallButtons);
    side->addWidget(addChartButton(
        this, QStringLiteral("直方图"), QStringLiteral("画出所选一列数字的直方图"),
        ChartWindow::Kind::Histogram,
        [this](int column, int bins) {
            return histogramJob(text1_->text(), separator_, combo1_->currentText(), column, bins);
        },
        text1_));
    side->addStretch(1);
    middle->addLayout(side);
    root->addLayout(middle, 1);

    // The result grid: row labels, five columns of ten boxes.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    const char* headingNames[] = {"Label2", "Label3", "Label4", "Label15", "Label16"};
    const char* headings[] = {"第一列数字", "第二列数字", "第三列数字", "第四列数字", "第五列数字"};
    for (int c = 0; c < kStatColumns; ++c) {
        auto* h =
            namedLabel(this, QString::fromLatin1(headingNames[c]), QString::fromUtf8(headings[c]));
        h->setAlignment(Qt::AlignCenter);
        grid->addWidget(h, 0, c + 1);
    }
    const char* rowNames[] = {"Label5", "Label6",  "Label7",  "Label8",  "Label13",
                              "Label9", "Label10", "Label11", "Label19", "Label20"};
    const QFont mono = monospaced();
    resultBoxWidth_ = QFontMetrics(mono).horizontalAdvance(QString(21, u'0')) + kResultBoxPadding;
    for (int r = 0; r < kStatRows; ++r) {
        grid->addWidget(namedLabel(this, QString::fromLatin1(rowNames[r]), statRowCaptions()[r],
                                   statRowTips()[r]),
                        r + 1, 0);
        for (int c = 0; c < kStatColumns; ++c) {
            auto* box = new QLineEdit(this);
            const int index = 5 * r + c;
            box->setObjectName(QStringLiteral("Text%1").arg(index + 2));
            box->setFont(mono);
            box->setMinimumWidth(resultBoxWidth_);
            results_[index] = box;
            grid->addWidget(box, r + 1, c + 1);
        }
    }
    root->addLayout(grid);

    command1_ = c1;
    connect(c1, &QPushButton::clicked, this, ui::guardedSlot([this] { compute(); }, objectName()));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { cancelCompute(); });
    connect(c2, &QPushButton::clicked, this,
            ui::guardedSlot([this] { ui::services().printWindow(this); }, objectName()));
    connect(c4, &QPushButton::clicked, this, ui::guardedSlot([this] { save(); }, objectName()));
    connect(c5, &QPushButton::clicked, this, ui::guardedSlot([this] { import(); }, objectName()));
    connect(combo2_, &QComboBox::activated, this, [this](int index) {
        ui::runGuarded([this, index] { chooseSeparator(combo2_->itemText(index)); }, objectName());
    });

    // Load.
    decimals_ = 15;
    combo1_->setCurrentIndex(1);
    combo2_->setCurrentIndex(0);
    separator_ = QStringLiteral("*");
    label14->setText(QStringLiteral("结果保留") + QString::number(decimals_) +
                     QStringLiteral(" 位小数！"));
    text1_->setText(initialData());
}

QLineEdit* Form201::resultBox(int row, int column) const {
    return results_[5 * (row - 1) + column - 1];
}

void Form201::compute() {
    if (running_) return;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    auto percent = std::make_shared<std::atomic<int>>(0);
    running_ = cancel;
    const QString decimalsText = label14_->text();
    setComputing(true);

    // The worker shares nothing with the window but its own copies and the two flags;
    // the loop handles the window's events until the worker says it is done.
    StatsRun run;
    bool outOfMemory = false;
    QEventLoop loop;
    QTimer progress;
    connect(&progress, &QTimer::timeout, this, [this, percent] {
        label14_->setText(QStringLiteral("正在统计…… %1%（按 Esc 取消）").arg(percent->load()));
    });
    progress.start(100);
    std::thread worker([&run, &outOfMemory, &loop, cancel, percent, data = text1_->text(),
                        separator = separator_, labels = combo1_->currentText(),
                        decimals = decimals_] {
        StatsControl control;
        control.cancelled = [cancel] { return cancel->load(); };
        control.progress = [percent](int p) { percent->store(p); };
        try {
            run = runStatistics(data, separator, labels, decimals, control);
        } catch (const std::bad_alloc&) {
            run = StatsRun{};
            outOfMemory = true;
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QPointer<Form201> self(this);
    loop.exec();
    // The loop also ends when the application quits: the run is then stopped.
    cancel->store(true);
    worker.join();
    if (!self) return;
    progress.stop();
    running_.reset();
    label14_->setText(decimalsText);
    setComputing(false);
    if (outOfMemory) {
        ui::messageBox(ui::outOfMemoryNoticeText());
        return;
    }
    if (run.cancelled) return;
    ui::showNotices(run.notices);
    separator_ = run.separator;
    const QString entry = separator_ == QLatin1String("\t") ? QStringLiteral("Tab") : separator_;
    const int index = combo2_->findText(entry);
    if (index >= 0) combo2_->setCurrentIndex(index);
    // The rewrite is one step that Ctrl+Z takes back.
    text1_->setSelection(0, int(text1_->text().size()));
    text1_->insertText(run.data);
    text1_->setSelection(0, 0);
    for (int c = 0; c < kStatColumns; ++c) {
        // Every box of a column is as wide as its longest value, so none is clipped.
        int width = resultBoxWidth_;
        for (int r = 0; r < kStatRows; ++r) {
            QLineEdit* box = results_[5 * r + c];
            width = std::max(
                width, box->fontMetrics().horizontalAdvance(run.cells[r][c]) + kResultBoxPadding);
        }
        for (int r = 0; r < kStatRows; ++r) {
            QLineEdit* box = results_[5 * r + c];
            box->setText(run.cells[r][c]);
            box->setToolTip(run.cells[r][c].trimmed().isEmpty() ? QString() : run.cells[r][c]);
            box->setMinimumWidth(width);
            box->setCursorPosition(0);
        }
    }
}

void Form201::cancelCompute() {
    if (running_) running_->store(true);
}

void Form201::setComputing(bool on) {
    command1_->setEnabled(!on);
    combo1_->setEnabled(!on);
    combo2_->setEnabled(!on);
    text1_->setReadOnly(on);
}

void Form201::closeEvent(QCloseEvent* e) {
    cancelCompute();
    QWidget::closeEvent(e);
}

void Form201::chooseSeparator(const QString& text) {
    const SeparatorChoice choice = chooseStatSeparator(text);
    separator_ = choice.separator;
    ui::showNotices(choice.notices);
}

void Form201::save() {
    const QString path = chooser_ ? chooser_(this, true) : QString();
    if (!path.isEmpty()) saveTo(path);
}

void Form201::import() {
    const QString path = chooser_ ? chooser_(this, false) : QString();
    if (!path.isEmpty()) importFrom(path);
}

bool Form201::saveTo(const QString& path) {
    const QString failure = writeDataFile(path, text1_->text());
    if (failure.isEmpty()) return true;
    ui::messageBox(failure);
    return false;
}

bool Form201::importFrom(const QString& path) {
    const DataFileText file = readDataFile(path);
    if (!file.ok) {
        ui::messageBox(file.message);
        return false;
    }
    text1_->setText(file.text);
    return true;
}

}  // namespace hc
