#include "survey/windows/point_tool_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextCursor>
#include <algorithm>

#include "survey/distance_bearing.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

// Design size and positions, in twips.
constexpr int kWidth = 9800;
constexpr int kHeight = 7600;
constexpr int kBoxTop = 1750;
constexpr int kNarrowText1 = 4455;

QString hint() {
    return QStringLiteral(
        "[序号]，纬度 X，经度 Y，高程 H 值必须采用，分隔数据！每行必须用回车符结束。   "
        "输出的角度数据为 90 . 59 59 99 类型 --> 度 . 分 秒 百分秒。");
}

}  // namespace

PointToolWindow::PointToolWindow(const QString& name, const QString& title, const QString& label1,
                                 const QString& label6, const QString& heading7,
                                 const QString& sample) {
    setObjectName(name);
    setWindowTitle(title);
    ui::setBackgroundColour(this, QColor(0xE0, 0xE8, 0xF0));
    setAutoFillBackground(true);

    auto label = [this](const char* objectName, const QString& text) {
        return ui::namedLabel(this, QString::fromLatin1(objectName), text);
    };
    QLabel* heading = label("Label1", label1);
    ui::enlargeFont(heading, 4);
    heading->adjustSize();
    heading->move(px(240), px(90));

    QLabel* label5 = label("Label5", QStringLiteral("用点号"));
    combo2_ = new QComboBox(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    combo2_->setEditable(true);
    combo2_->setInsertPolicy(QComboBox::NoInsert);
    combo2_->addItem(QStringLiteral("0"));
    combo2_->setCurrentIndex(0);  // load: the first entry
    combo2_->installEventFilter(this);
    QLabel* label6w = label("Label6", label6);

    command1_ = ui::namedButton(this, QStringLiteral("Command1"), QStringLiteral("进行计算"));
    command2_ = ui::namedButton(this, QStringLiteral("Command2"), QStringLiteral("打印屏幕"),
                                QStringLiteral("安装打印机后才可执行打印功能"));

    QLabel* label4 = label("Label4", QStringLiteral("水平上用真北为0度，垂直向用平为0度。"));
    check1_ = new QCheckBox(QStringLiteral("坐标数据为公里网--米"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setChecked(true);

    // Row of the point name, then the row of the conventions and the mode.
    const int row1 = 560, row2 = 1000;
    label5->adjustSize();
    label5->move(px(240), px(row1) + 4);
    combo2_->setGeometry(px(240) + label5->width() + 4, px(row1), px(1500), px(330));
    label6w->adjustSize();
    label6w->move(combo2_->geometry().right() + 6, px(row1) + 4);
    command1_->setGeometry(px(6300), px(row1 - 40), px(1500), px(420));
    command2_->setGeometry(px(7950), px(row1 - 40), px(1500), px(420));
    label4->adjustSize();
    label4->move(px(240), px(row2));
    check1_->adjustSize();
    check1_->move(px(6300), px(row2) - 2);

    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text2_ = new ui::TextBox(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    for (ui::TextBox* box : {text1_, text2_}) {
        box->setFont(ui::monospacedFont(10));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Commas split the point list, so Tab is free to move on to the next control.
        box->setTabChangesFocus(true);
    }
    text1_->setText(sample);

    label7_ = label("Label7", heading7);
    label7_->setFont(ui::monospacedFont(10));
    label7_->adjustSize();
    label2_ = label("Label2", hint());
    label2_->setWordWrap(true);

    const int text1Width = static_cast<int>(kWidth / 2.4);
    const int textHeight = kHeight - 1100 - kBoxTop;
    text1_->setGeometry(0, px(kBoxTop), px(text1Width), px(textHeight));
    text2_->setGeometry(px(text1Width), px(kBoxTop), px(kWidth - text1Width - 50), px(textHeight));
    label7_->move(text2_->x(), px(kBoxTop) - label7_->height() - 2);
    label2_->setGeometry(px(120), text1_->geometry().bottom() + 1 + px(50), px(kWidth - 240),
                         px(1000));

    connect(command1_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { calculate(); }, objectName()));
    // Enter in the point-name box computes, like the button.
    connect(combo2_->lineEdit(), &QLineEdit::returnPressed, command1_, &QPushButton::click);
    connect(command2_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { ui::services().printWindow(this); }, objectName()));
    resize(px(kWidth), px(kHeight));
    updateMinimumSize();
}

void PointToolWindow::updateMinimumSize() {
    // The design size, or more when a control placed at a fixed spot reaches further:
    // below it the boxes and the hint would be cut off.
    int right = px(kWidth), bottom = px(kHeight);
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == text1_ || w == text2_ || w == label2_ || w->isHidden()) continue;
        right = std::max(right, w->geometry().right() + 1 + px(120));
    }
    setMinimumSize(right, bottom);
}

void PointToolWindow::rewriteInput(const QString& text) {
    if (text1_->text() == text) return;
    // One undo step: Ctrl+Z brings back what the user typed.
    QTextCursor all(text1_->document());
    all.select(QTextCursor::Document);
    text1_->setTextCursor(all);
    text1_->insertText(text);
    QTextCursor start(text1_->document());
    text1_->setTextCursor(start);
}

int PointToolWindow::px(int twips) const { return ui::pixelsFromTwips(this, twips); }
int PointToolWindow::twips(int pixels) const { return ui::twipsFromPixels(this, pixels); }

void PointToolWindow::refillNames() {
    if (showingNotices_) return;
    // Blocks a new reading while a box of this one is open, the failure box included.
    showingNotices_ = true;
    ui::runGuarded([this] { readNames(); }, objectName());
    showingNotices_ = false;
}

void PointToolWindow::readNames() {
    const QString text = text1_->text();
    const int mode = listMode();
    // Closing a message box gives the focus back to this box, which would read the
    // same list again and raise the same box: a list tells its notices, or the
    // failure to read it, once.
    const bool seen = text == noticedText_ && mode == noticedMode_;
    if (seen && readFailed_) return;
    noticedText_ = text;
    noticedMode_ = mode;
    readFailed_ = true;
    const PointNameChoices c =
        pointNameChoices(text, mode == 1 ? PointListMode::Grid : PointListMode::Geographic);
    const QString typed = combo2_->currentText();
    combo2_->blockSignals(true);
    combo2_->clear();
    combo2_->addItems(c.entries);
    combo2_->setEditText(typed);
    combo2_->blockSignals(false);
    readFailed_ = false;
    if (!seen) ui::showNotices(c.notices);
}

bool PointToolWindow::eventFilter(QObject* watched, QEvent* e) {
    // Coming back from the drop-down list is not a new visit.
    if (e->type() == QEvent::FocusIn && watched == combo2_) {
        auto* fe = static_cast<QFocusEvent*>(e);
        if (fe->reason() != Qt::PopupFocusReason) refillNames();
    }
    return QWidget::eventFilter(watched, e);
}

void PointToolWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int width = twips(e->size().width());
    const int height = twips(e->size().height());
    QRect r1 = text1_->geometry();
    QRect r2 = text2_->geometry();
    if (width > 9400) {
        r1.setWidth(px(static_cast<int>(width / 2.4)));
        r2.setWidth(px(width - twips(r1.width()) - 50));
    } else {
        r1.setWidth(px(kNarrowText1));
    }
    r2.moveLeft(r1.width());
    if (height > 7000) {
        r1.setHeight(px(height - 1100 - twips(r1.top())));
        r2.setHeight(r1.height());
    }
    text1_->setGeometry(r1);
    text2_->setGeometry(r2);
    label7_->move(r2.left(), label7_->y());
    if (height > 7000) label2_->move(label2_->x(), r1.top() + r1.height() + px(50));
}

}  // namespace hc
