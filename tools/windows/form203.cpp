#include "tools/windows/form203.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <type_traits>

#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

const int kBases[4] = {2, 8, 10, 16};

QString homePage() { return ui::documentationUrl(QStringLiteral("tools")); }

// Digit key names: Command1 ... Command13 for 0 ... C, Command15 ... Command17 for D ... F.
QString digitKeyName(int digit) {
    return QStringLiteral("Command%1").arg(digit <= 12 ? digit + 1 : digit + 2);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) {
    return ui::namedLabel(parent, QString::fromLatin1(name), caption);
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    return ui::namedButton(parent, name, caption);
}

QLineEdit* makeNumberBox(QWidget* parent, const char* name, int columns) {
    QLineEdit* box = ui::namedLineEdit(parent, QString::fromLatin1(name));
    box->setFont(ui::monospacedFont(box->font().pointSizeF() + 1));
    ui::fitWidth(box, QString(columns, u'0'), 12);
    return box;
}

}  // namespace

Form203::Form203(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm203.name());
    setWindowTitle(QStringLiteral("进制换算"));
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    root->addLayout(left, 1);

    left->addWidget(
        ui::headingLabel(this, QStringLiteral("Label1"), QStringLiteral(" 数值的进制换算")));

    auto* baseFrame = new QWidget(this);
    baseFrame->setObjectName(QStringLiteral("Frame1"));
    auto* baseRow = new QHBoxLayout(baseFrame);
    baseRow->setContentsMargins(0, 0, 0, 0);
    baseRow->addWidget(makeLabel(baseFrame, "Label2", QStringLiteral("进制类型")));
    const char16_t* baseCaptions[4] = {u"二进制", u"八进制", u"十进制", u"十六进制"};
    for (int i = 0; i < 4; ++i) {
        auto* o = new QRadioButton(QString::fromUtf16(baseCaptions[i]), baseFrame);
        o->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        baseOptions_[i] = o;
        baseRow->addWidget(o);
        const int base = kBases[i];
        connect(o, &QRadioButton::clicked, this, [this, base] {
            run([base](BaseWindowState& s) { ui::showNotices(switchBase(s, base)); });
        });
    }
    baseRow->addStretch(1);
    left->addWidget(baseFrame);

    auto* boxes = new QGridLayout;
    boxes->addWidget(makeLabel(this, "Label3", QStringLiteral("数据 1")), 0, 0);
    data_[0] = makeNumberBox(this, "Text1", 40);
    boxes->addWidget(data_[0], 0, 1);

    auto* frame2 = new QGroupBox(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* ops = new QGridLayout(frame2);
    for (int i = 0; i < kBaseOperationCount; ++i) {
        const auto op = static_cast<BaseOperation>(i);
        auto* o = new QRadioButton(operationCaption(op), frame2);
        o->setObjectName(QStringLiteral("Option%1").arg(i + 5));
        operationOptions_[i] = o;
        ops->addWidget(o, i / 6, i % 6);
        connect(o, &QRadioButton::clicked, this,
                [this, op] { run([op](BaseWindowState& s) { chooseOperation(s, op); }); });
    }
    label4_ = makeLabel(frame2, "Label4", state_.label);
    ops->addWidget(label4_, 0, 6, 2, 1, Qt::AlignCenter);
    label4_->setMinimumWidth(
        label4_->fontMetrics().horizontalAdvance(QStringLiteral("与非 AndNot")) + 8);
    boxes->addWidget(frame2, 1, 1);

    boxes->addWidget(makeLabel(this, "Label5", QStringLiteral("数据 2")), 2, 0);
    data_[1] = makeNumberBox(this, "Text2", 40);
    boxes->addWidget(data_[1], 2, 1);

    label7_ = makeLabel(this, "Label7", QStringLiteral("运算成果"));
    label7_->setCursor(Qt::PointingHandCursor);
    label7_->installEventFilter(this);
    boxes->addWidget(label7_, 3, 0);
    result_ = makeNumberBox(this, "Text3", 37);
    result_->setReadOnly(true);
    boxes->addWidget(result_, 3, 1);
    label6_ = makeLabel(this, "Label6", QString());
    label6_->setStyleSheet(QStringLiteral("color: #c00000;"));
    label6_->hide();
    boxes->addWidget(label6_, 4, 1);
    left->addLayout(boxes);

    help_ = new ui::TextBox(this);
    help_->setObjectName(QStringLiteral("Text4"));
    help_->setReadOnly(true);
    help_->setMinimumHeight(help_->fontMetrics().lineSpacing() * 7);
    left->addWidget(help_, 1);

    // Keypad: 0 1 2 3 / 4 5 6 7 / 8 9 A B / C D E F, then - . <=删 清除, then 运算.
    auto* keys = new QGridLayout;
    keys->setSpacing(4);
    for (int d = 0; d < 16; ++d) {
        QPushButton* b =
            makeButton(this, digitKeyName(d), QString(QChar::fromLatin1("0123456789ABCDEF"[d])));
        b->setMinimumSize(44, 34);
        digitKeys_[d] = b;
        keys->addWidget(b, d / 4, d % 4);
        const QChar c = b->text()[0];
        connect(b, &QPushButton::clicked, this,
                [this, c] { run([c](BaseWindowState& s) { return pressDigit(s, c); }); });
    }
    auto key = [this, keys](const char* name, const QString& caption, int column, auto op) {
        QPushButton* b = makeButton(this, QString::fromLatin1(name), caption);
        b->setMinimumSize(44, 34);
        keys->addWidget(b, 4, column);
        connect(b, &QPushButton::clicked, this,
                [this, op] { run([op](BaseWindowState& s) { return op(s); }); });
    };
    key("Command18", QStringLiteral("-"), 0, pressSign);
    key("Command19", QStringLiteral("."), 1, pressPoint);
    key("Command20", QStringLiteral("<=删"), 2, pressDelete);
    key("Command21", QStringLiteral("清除"), 3, pressClear);
    QPushButton* calc = makeButton(this, QStringLiteral("Command23"), QStringLiteral("运算"));
    calc->setMinimumHeight(40);
    keys->addWidget(calc, 5, 0, 1, 4);
    connect(calc, &QPushButton::clicked, this,
            [this] { run([](BaseWindowState& s) { ui::showNotices(calculate(s)); }); });
    for (const char* name : {"Command22", "Command24"}) {
        QPushButton* hidden =
            makeButton(this, QString::fromLatin1(name),
                       name[8] == '2' ? QStringLiteral("<==") : QStringLiteral("==>"));
        hidden->hide();
    }

    auto* right = new QVBoxLayout;
    right->addLayout(keys);
    right->addSpacing(12);
    QPushButton* home = makeButton(this, QStringLiteral("Command25"), QStringLiteral("主界面"));
    connect(home, &QPushButton::clicked, this,
            ui::guardedSlot([] { ui::showWindow(window_ids::kForm1); }));
    QPushButton* other =
        makeButton(this, QStringLiteral("CommandQiTa"), QStringLiteral("其它功能"));
    other->setToolTip(QStringLiteral("多种功能模块"));
    connect(other, &QPushButton::clicked, this,
            ui::guardedSlot([] { ui::showWindow(window_ids::kForm2); }));
    QPushButton* print = makeButton(this, QStringLiteral("Command26"), QStringLiteral("打印屏幕"));
    print->setToolTip(QStringLiteral("安装打印机后才可执行打印功能"));
    connect(print, &QPushButton::clicked, this,
            ui::guardedSlot([this] { ui::services().printWindow(this); }));
    QPushButton* link = makeButton(this, QStringLiteral("CommandLink"), QStringLiteral("禾川主页"));
    link->setToolTip(QStringLiteral("在浏览器中打开禾川计算器主页"));
    connect(link, &QPushButton::clicked, this,
            ui::guardedSlot([] { ui::services().openWebPage(homePage()); }));
    for (QPushButton* b : {home, other, print, link}) {
        b->setMinimumHeight(30);
        right->addWidget(b);
    }
    right->addStretch(1);
    root->addLayout(right);

    for (QLineEdit* box : data_) box->installEventFilter(this);
    display(state_);
}

template <typename Op>
void Form203::run(Op op) {
    ui::runGuarded(
        [&] {
            pullTexts();
            bool focus = false;
            if constexpr (std::is_same_v<decltype(op(state_)), bool>) {
                focus = op(state_);
            } else {
                op(state_);
            }
            display(state_);
            if (focus) focusActive();
        },
        window_ids::kForm203.name());
}

void Form203::pullTexts() {
    for (int i = 0; i < 2; ++i) state_.data[i].text = data_[i]->text();
}

void Form203::display(const BaseWindowState& s) {
    for (int i = 0; i < 2; ++i) ui::replaceText(data_[i], s.data[i].text);
    data_[0]->setVisible(s.data1Visible);
    result_->setText(s.result);
    result_->setCursorPosition(0);  // a long result shows its first digits
    if (help_->text() != s.help) help_->setText(s.help);
    label4_->setText(s.label);
    label6_->setText(s.warning);
    label6_->setVisible(s.warningVisible);
    for (int i = 0; i < 4; ++i) baseOptions_[i]->setChecked(kBases[i] == s.base);
    operationOptions_[static_cast<int>(s.operation)]->setChecked(true);
    for (int d = 0; d < 16; ++d) digitKeys_[d]->setEnabled(digitKeyEnabled(s.base, d));
}

void Form203::focusActive() {
    QLineEdit* box = data_[state_.active];
    const BaseDataBox& b = state_.data[state_.active];
    box->setFocus(Qt::OtherFocusReason);
    box->setCursorPosition(std::clamp(b.selStart, 0, static_cast<int>(box->text().size())));
}

void Form203::remember(int box) {
    QLineEdit* e = data_[box];
    BaseDataBox& b = state_.data[box];
    b.text = e->text();
    if (e->hasSelectedText()) {
        b.selStart = e->selectionStart();
        b.selText = e->selectedText();
        b.selLength = static_cast<int>(b.selText.size());
    } else {
        b.selStart = e->cursorPosition();
        b.selLength = 0;
        b.selText.clear();
    }
}

bool Form203::eventFilter(QObject* watched, QEvent* event) {
    // Set when the event is consumed (true) or must go no further than the box (false).
    std::optional<bool> handled;
    ui::runGuarded(
        [&] {
            if (watched == label7_ && event->type() == QEvent::MouseButtonRelease) {
                run([](BaseWindowState& s) { ui::showNotices(calculate(s)); });
                handled = true;
                return;
            }
            for (int i = 0; i < 2; ++i) {
                if (watched != data_[i]) continue;
                if (event->type() == QEvent::FocusIn) {
                    state_.active = i;
                } else if (event->type() == QEvent::FocusOut) {
                    // Before the line edit drops its selection on losing the focus.
                    remember(i);
                } else if (event->type() == QEvent::KeyPress) {
                    auto* key = static_cast<QKeyEvent*>(event);
                    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                        handled = true;
                        return;
                    }
                    const QString typed = key->text();
                    if (typed.isEmpty() || !typed[0].isPrint() ||
                        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                        handled = false;
                        return;
                    }
                    state_.active = i;
                    remember(i);
                    run([typed](BaseWindowState& s) {
                        bool entered = false;
                        for (QChar c : typed) entered |= typeCharacter(s, c);
                        return entered;
                    });
                    handled = true;
                    return;
                }
            }
        },
        window_ids::kForm203.name());
    if (handled) return *handled;
    return QWidget::eventFilter(watched, event);
}

}  // namespace hc
