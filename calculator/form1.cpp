#include "calculator/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <new>
#include <thread>

#include "calculator/form3.h"
#include "calculator/result_copy.h"
#include "calculator/windows.h"
#include "engine/num.h"
#include "expr/calculate.h"
#include "ui/text_box.h"
#include "ui/tool_registry.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

#ifndef HC_VERSION_MAJOR
#define HC_VERSION_MAJOR 0
#define HC_VERSION_MINOR 1
#define HC_VERSION_PATCH 0
#endif

namespace hc {
namespace {

QFont resultFont() {
    // Latin glyphs are exactly half as wide as Chinese ones in this face, so the
    // column layout of results holds with the "约数" marker too; an even pixel size
    // keeps both advances whole pixels.
    QFont f = ui::monospacedFont();
    f.setPixelSize(16);
    return f;
}

// Key help in the tool tip of "计 算".
QString calculateKeyHelp() {
    return QStringLiteral(
        "计算算式。在算式框中按回车键（Enter，或小键盘的回车键）也可计算；"
        "按 Shift+回车 在算式中换行。");
}

// Reports every window of the program that becomes active.
class ActivationWatch : public QObject {
public:
    ActivationWatch(QObject* parent, std::function<void(QWidget*)> onActivate)
        : QObject(parent), onActivate_(std::move(onActivate)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::WindowActivate && watched->isWidgetType())
            onActivate_(static_cast<QWidget*>(watched));
        return false;
    }

private:
    std::function<void(QWidget*)> onActivate_;
};

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    return ui::namedButton(parent, name, caption);
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm1.name());
    setWindowTitle(QStringLiteral("禾川计算器"));
    ui::adoptWindow(window_ids::kForm1, this);
    ui::registerWindow(window_ids::kForm3, [this] { return new Form3(settings_); });
    buildControls();
    load();
    // Only coming back from another window of the calculator counts as a return:
    // not a message box, and not a visit to another program.
    activationWatch_ = new ActivationWatch(this, [this](QWidget* w) {
        if (w == this || !w->isWindow()) return;
        const Qt::WindowType type = w->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip) return;
        returnPending_ = !w->isModal();
    });
}

Form1::~Form1() {
    cancelCalculation();
    // The boxes lose the focus while the base class destroys them.
    text1_->disconnect(this);
    text3_->disconnect(this);
    delete activationWatch_;
    delete ui::openWindow(window_ids::kForm3);
    ui::unregisterWindow(window_ids::kForm3);
}

QPushButton* Form1::hmBut(int index) const {
    return index >= 1 && index <= kKeyCount ? keys_[index] : nullptr;
}

QPushButton* Form1::linkButton(const QString& name, const QString& caption, ui::WindowId window) {
    auto* b = makeButton(this, name, caption);
    connect(b, &QPushButton::clicked, this, ui::guardedSlot([window] { ui::showWindow(window); }));
    return b;
}

void Form1::buildControls() {
    auto* root = new QVBoxLayout(this);
    root->setSpacing(6);

    // Title, version and the row of image buttons.
    auto* top = new QHBoxLayout;
    QLabel* label4 = ui::namedLabel(this, QStringLiteral("Label4"), QStringLiteral("禾川计算器"));
    ui::enlargeFont(label4, 4);
    label4->setCursor(Qt::PointingHandCursor);
    label4->installEventFilter(this);
    top->addWidget(label4);
    label1_ = ui::namedLabel(this, QStringLiteral("Label1"), QString());
    top->addWidget(label1_);
    top->addSpacing(12);
    top->addStretch(1);
    // The tool windows' buttons in the order of their numbers, the two web page buttons
    // among them; made in that order, which Tab follows.
    QMap<int, std::function<QPushButton*()>> row;
    row.insert(4, [this] {
        auto* b = makeButton(this, QStringLiteral("dcButton4"), QStringLiteral("禾川题库"));
        connect(b, &QPushButton::clicked, this,
                ui::guardedSlot([] { ui::services().openWebPage(questionBankUrl()); }));
        return b;
    });
    row.insert(8, [this] {
        auto* b = makeButton(this, QStringLiteral("dcButton8"), QStringLiteral("最新版本"));
        connect(b, &QPushButton::clicked, this,
                ui::guardedSlot([] { ui::services().openWebPage(homeUrl()); }));
        return b;
    });
    for (const ui::ToolWindow& tool : ui::tools()) {
        const int n = tool.buttonNumber;
        if (n <= 0) continue;
        if (row.contains(n) || (n >= 9 && n <= 14)) {
            qWarning("window %s: dcButton%d is one of the main window's own buttons",
                     qPrintable(tool.id.name()), n);
            continue;
        }
        row.insert(n, [this, n, caption = tool.buttonCaption, id = tool.id] {
            return linkButton(QStringLiteral("dcButton%1").arg(n), caption, id);
        });
    }
    for (const auto& make : row) {
        QPushButton* b = make();
        b->setMinimumHeight(34);
        top->addWidget(b);
    }
    root->addLayout(top);

    // Formula box with the calculate, clear and history buttons beside it.
    auto* formulaRow = new QHBoxLayout;
    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    QFont formulaFont = text1_->font();
    formulaFont.setPointSize(formulaFont.pointSize() + 2);
    text1_->setFont(formulaFont);
    text1_->setMinimumHeight(QFontMetrics(formulaFont).lineSpacing() * 2 + 12);
    text1_->setTabChangesFocus(true);
    // A formula has no word breaks to speak of: laid out by words, a pasted formula of
    // a megabyte would take minutes (each line is searched for a word end from its
    // start); broken anywhere it takes a moment.
    text1_->setWordWrapMode(QTextOption::WrapAnywhere);
    formulaRow->addWidget(text1_, 1);
    auto* side = new QGridLayout;
    auto* calc = makeButton(this, QStringLiteral("dcButton10"), QStringLiteral("计 算"));
    calc->setMinimumHeight(40);
    calc->setToolTip(calculateKeyHelp());
    QFont bigFont = calc->font();
    bigFont.setPointSize(bigFont.pointSize() + 3);
    bigFont.setBold(true);
    calc->setFont(bigFont);
    // Made in the order Tab walks them: top to bottom beside the formula box.
    auto* back = makeButton(this, QStringLiteral("dcButton11"), QStringLiteral("<--"));
    auto* forward = makeButton(this, QStringLiteral("dcButton12"), QStringLiteral("-->"));
    auto* clearButton = makeButton(this, QStringLiteral("dcButton9"), QStringLiteral("清 零"));
    text4_ = ui::namedLineEdit(this, QStringLiteral("Text4"), QStringLiteral("018"));
    text4_->setReadOnly(true);
    text4_->setAlignment(Qt::AlignCenter);
    text4_->setFixedWidth(52);
    text4_->setFocusPolicy(Qt::NoFocus);
    side->addWidget(calc, 0, 0, 1, 3);
    side->addWidget(back, 1, 0);
    side->addWidget(text4_, 1, 1);
    side->addWidget(forward, 1, 2);
    side->addWidget(clearButton, 2, 0, 1, 3);
    side->setRowStretch(3, 1);  // the buttons stay together beside a taller formula box
    formulaRow->addLayout(side);
    root->addLayout(formulaRow, 3);
    calcButton_ = calc;
    clearButton_ = clearButton;
    backButton_ = back;
    forwardButton_ = forward;
    connect(calc, &QPushButton::clicked, this, ui::guardedSlot([this] { calculate(); }));
    connect(clearButton, &QPushButton::clicked, this, ui::guardedSlot([this] { clear(); }));
    connect(back, &QPushButton::clicked, this, ui::guardedSlot([this] { browseBack(); }));
    connect(forward, &QPushButton::clicked, this, ui::guardedSlot([this] { browseForward(); }));
    connect(text1_, &ui::TextBox::lostFocus, this, &Form1::saveSelection);

    // Result box.
    QLabel* label2 = ui::namedLabel(this, QStringLiteral("Label2"), QStringLiteral("计算结果："));
    root->addWidget(label2);
    text2_ = new ui::TextBox(this);
    text2_->setWordWrapMode(QTextOption::WrapAnywhere);  // messages quote the formula
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setReadOnly(true);
    text2_->setFont(resultFont());
    text2_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text2_->setMinimumHeight(58);
    text2_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text2_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(text2_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu* menu = resultContextMenu(pos);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(text2_->viewport()->mapToGlobal(pos));
    });
    {
        const QFontMetrics fm(resultFont());
        text2_->setMinimumWidth(fm.horizontalAdvance(QString(64, QLatin1Char('0'))) + 24);
    }
    root->addWidget(text2_, 1);

    // Settings row.
    auto* settings = new QHBoxLayout;
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->addItems(decimalPlaceItems());
    combo1_->setToolTip(QStringLiteral("小数位数"));
    combo1_->setMaxVisibleItems(15);
    connect(combo1_, &QComboBox::currentIndexChanged, this,
            [this](int) { settings_.displayDecimals = leadingInteger(combo1_->currentText()); });
    connect(combo1_, &QComboBox::activated, this, [this] { text1_->setFocus(); });
    settings->addWidget(combo1_);
    command5_ = makeButton(this, QStringLiteral("Command5"), QStringLiteral("弧度角"));
    command5_->setToolTip(angleToolTip());
    command5_->setMinimumWidth(110);
    ui::setBackgroundColour(command5_, initialAngleColour());
    connect(command5_, &QPushButton::clicked, this, ui::guardedSlot([this] { cycleAngleUnit(); }));
    connect(command5_, &QPushButton::clicked, this, [this] { text1_->setFocus(); });
    settings->addWidget(command5_);
    settings->addStretch(1);
    auto* variables = makeButton(this, QStringLiteral("dcButton13"), QStringLiteral("修改变量"));
    connect(variables, &QPushButton::clicked, this, ui::guardedSlot([this] {
                text3_->setText(variablesStatusText());
                ui::showWindow(window_ids::kForm3);
            }));
    settings->addWidget(variables);
    auto* help = makeButton(this, QStringLiteral("dcButton14"), QStringLiteral("帮 助"));
    connect(help, &QPushButton::clicked, this,
            ui::guardedSlot([] { ui::showWindow(window_ids::kForm5); }));
    settings->addWidget(help);
    root->addLayout(settings);

    // Keypad: six rows of ten keys in index order.
    auto* pad = new QGridLayout;
    pad->setSpacing(3);
    for (int i = 1; i <= kKeyCount; ++i) {
        auto* b = makeButton(this, QStringLiteral("HmBut(%1)").arg(i), hmKey(i)->caption);
        b->setProperty("index", i);
        // Wide enough for its caption, which a minimum width of its own would override.
        b->setMinimumHeight(32);
        connect(b, &QPushButton::clicked, this, ui::guardedSlot([this, i] { keyPressed(i); }));
        keys_[i] = b;
        pad->addWidget(b, (i - 1) / 10, (i - 1) % 10);
    }
    root->addLayout(pad);

    // Status box.
    text3_ = new ui::TextBox(this);
    text3_->setObjectName(QStringLiteral("Text3"));
    text3_->setReadOnly(true);
    text3_->setMinimumHeight(text3_->fontMetrics().lineSpacing() * 5 + 12);
    connect(text3_, &ui::TextBox::gotFocus, this, [this] { text1_->setFocus(); });
    root->addWidget(text3_, 2);

    // Keys typed in the controls pass the window's key handling first.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        // While a calculation runs, Esc stops it and no other key edits anything.
        if (running_) {
            if (key->key() == Qt::Key_Escape) cancelCalculation();
            return true;
        }
        if (watched == text1_) return formulaKey(key);
        auto* control = qobject_cast<QWidget*>(watched);
        if (control && control->window() == this && controlKey(control, key)) return true;
    }
    if (watched->objectName() == QLatin1String("Label4") &&
        e->type() == QEvent::MouseButtonRelease) {
        ui::runGuarded([] { ui::services().openWebPage(homeUrl()); });
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

namespace {

bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Meta:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_Mode_switch:
            return true;
        default:
            return false;
    }
}

bool isEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

// A key that types text, as opposed to a shortcut or a movement key.
bool typesText(const QKeyEvent* e) {
    if (e->text().isEmpty() ||
        e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    for (QChar c : e->text())
        if (!c.isPrint()) return false;
    return true;
}

}  // namespace

bool Form1::formulaKey(QKeyEvent* e) {
    if (e->matches(QKeySequence::Copy) && !text1_->textCursor().hasSelection()) {
        copyResult();
        return true;
    }
    if (!isEnter(e)) return false;
    // Shift+Enter lays a long formula out on several lines; a plain line break
    // keeps the box's CR LF text (the editor's own would be a line separator).
    if (e->modifiers() & Qt::ShiftModifier)
        text1_->insertText(QStringLiteral("\n"));
    else
        calculate();
    return true;
}

bool Form1::controlKey(QWidget* control, QKeyEvent* e) {
    if (e->matches(QKeySequence::Copy)) {
        copyResult();
        return true;
    }
    if (isEnter(e)) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (button) button->click();
        return button != nullptr;
    }
    if (!typesText(e)) return false;
    // The window's key-down and key-press: the result goes, and the character goes
    // into the formula at its saved caret instead of into this control.
    text2_->setText(QString());
    text1_->setFocus();
    text1_->setSelection(saved_.start, saved_.length);
    QKeyEvent typed(e->type(), e->key(), e->modifiers(), e->text(), e->isAutoRepeat(),
                    static_cast<quint16>(e->count()));
    QCoreApplication::sendEvent(text1_, &typed);
    return true;
}

void Form1::copyResult() {
    const QString plain = plainResult(text2_->text());
    if (!plain.isEmpty()) QGuiApplication::clipboard()->setText(plain);
}

QMenu* Form1::resultContextMenu(const QPoint& pos) {
    QMenu* menu = text2_->createStandardContextMenu(pos);
    auto* copy = new QAction(QStringLiteral("复制结果"), menu);
    copy->setObjectName(QStringLiteral("copyResult"));
    connect(copy, &QAction::triggered, this, &Form1::copyResult);
    const QList<QAction*> standard = menu->actions();
    menu->insertAction(standard.value(0), copy);
    if (!standard.isEmpty()) menu->insertSeparator(standard.first());
    return menu;
}

void Form1::load() {
    settings_.displayDecimals = 15;
    settings_.angleUnit = kRadians;
    for (int i = 0; i < 9; ++i) settings_.memory[i] = Num::ofInt(i + 1);
    saved_ = SavedSelection{};
    combo1_->setCurrentIndex(15);
    label1_->setText(QStringLiteral("%1.%2%3")
                         .arg(HC_VERSION_MAJOR)
                         .arg(HC_VERSION_MINOR)
                         .arg(HC_VERSION_PATCH));
}

void Form1::saveSelection() {
    saved_.start = text1_->selStart();
    saved_.length = text1_->selLength();
    saved_.text = text1_->selText();
}

void Form1::calculate() {
    if (running_) return;
    text2_->setText(calculatingText());
    text3_->setText(checkResultsText());
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    running_ = cancel;
    setCalculating(true);

    // The worker shares nothing with the window but its own copies and the flag; the
    // loop below handles the window's events until the worker tells it that it is done.
    CalcResult r;
    bool outOfMemory = false;
    QEventLoop loop;
    const Evaluator evaluate = evaluator_ ? evaluator_ : Evaluator(ZelJiSuanSuanShi);
    std::thread worker([&r, &outOfMemory, &loop, &evaluate, cancel, formula = text1_->text(),
                        settings = settings_] {
        try {
            r = evaluate(formula, settings, cancel.get());
        } catch (const std::bad_alloc&) {
            r = CalcResult{};
            outOfMemory = true;
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QPointer<Form1> self(this);
    loop.exec();
    // The loop also ends when the application quits: the calculation is then stopped.
    cancel->store(true);
    worker.join();
    if (!self) return;
    running_.reset();
    setCalculating(false);

    if (outOfMemory) {
        // The formula stays as typed; the window goes on working.
        text2_->setText(QString());
        text3_->setText(outOfMemoryText());
        ui::messageBox(outOfMemoryText());
        text1_->setFocus();
        return;
    }
    if (r.cancelled) {
        text2_->setText(QString());
        text3_->setText(r.status);
        text1_->setFocus();
        return;
    }
    ui::showNotices(r.notices);
    text1_->setText(r.formula);
    text2_->setText(r.result);
    text3_->setText(r.status);
    const int end = static_cast<int>(text1_->text().size());
    text1_->setSelection(end, 0);
    saved_ = SavedSelection{end, 0, QString()};
    text1_->setFocus();
}

QString Form1::outOfMemoryText() {
    return QStringLiteral(
        "内存不足，无法完成这个计算。算式保持不变，请缩短算式或关闭其它程序后再试。");
}

void Form1::cancelCalculation() {
    if (running_) running_->store(true);
}

void Form1::setCalculating(bool on) {
    for (int i = 1; i <= kKeyCount; ++i) keys_[i]->setEnabled(!on);
    for (QPushButton* b : {calcButton_, clearButton_, backButton_, forwardButton_})
        b->setEnabled(!on);
    text1_->setReadOnly(on);
}

void Form1::closingSteps() {
    text2_->setText(QString());
    text1_->setFocus();
    text1_->setSelection(saved_.start, 0);
}

void Form1::keyPressed(int index) {
    const KeyInfo* key = hmKey(index);
    if (!key) {
        closingSteps();
        return;
    }
    if (index == kKeyFe) {
        text3_->setText(key->help);
        const QString shown = text2_->text();
        if (shown <= QStringLiteral(" ")) {
            closingSteps();
            return;
        }
        text2_->setText(ZelKeXueJiShu(shown));
        return;
    }
    QString token = key->token;
    int advance = key->advance;
    if (index == kKeyRandom) {
        token = drawRandomToken();
        advance = static_cast<int>(token.size());
        lastRandom_ = token;
    }
    text1_->setText(insertToken(text1_->text(), saved_, token, advance));
    text3_->setText(key->help);
    closingSteps();
}

void Form1::clear() {
    history_.storeOnClear(text1_->text());
    text1_->setText(QString());
    text2_->setText(QString());
    text3_->setText(clearStatusText());
    text4_->setText(QString::number(history_.current()));
    saved_ = SavedSelection{};
    text1_->setFocus();
}

void Form1::browseBack() {
    const int i = history_.browseBack();
    text1_->setText(history_.slot(i));
    text2_->setText(QStringLiteral(" "));
    text3_->setText(browseBackStatusText());
    text4_->setText(QString::number(i));
    text2_->setText(FormulaHistory::referenceText(i, false));
    caretToEnd();
}

void Form1::browseForward() {
    const int i = history_.browseForward();
    text1_->setText(history_.slot(i));
    text3_->setText(browseForwardStatusText());
    text4_->setText(QString::number(i));
    text2_->setText(FormulaHistory::referenceText(i, true));
    caretToEnd();
}

void Form1::caretToEnd() {
    const int end = static_cast<int>(text1_->text().size());
    text1_->setFocus();
    text1_->setSelection(end, 0);
    saved_ = SavedSelection{end, 0, QString()};
}

void Form1::cycleAngleUnit() {
    text3_->setText(angleStatusText());
    AngleStep next;
    if (!nextAngleStep(command5_->text(), next)) return;
    command5_->setText(next.caption);
    settings_.angleUnit = next.unit;
    ui::setBackgroundColour(command5_, next.colour);
}

void Form1::activated() {
    combo1_->setCurrentIndex(std::clamp(settings_.displayDecimals, 0, 28));
    text1_->setFocus();
    text1_->setSelection(saved_.start, saved_.length);
}

void Form1::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange) return;
    if (isActiveWindow()) {
        if (returnPending_) activated();
        returnPending_ = false;
    }
}

void Form1::keyPressEvent(QKeyEvent* e) {
    if (running_) {
        if (e->key() == Qt::Key_Escape) cancelCalculation();
        return;
    }
    // Ctrl, Shift and the like pressed on their own only begin a key such as Ctrl+C.
    if (isModifierKey(e->key())) {
        QWidget::keyPressEvent(e);
        return;
    }
    text1_->setFocus();
    text2_->setText(QString());
    QWidget::keyPressEvent(e);
}

void Form1::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        emit firstShown();
    }
}

void Form1::closeEvent(QCloseEvent* e) {
    cancelCalculation();
    QWidget::closeEvent(e);
    emit closed();
}

}  // namespace hc
