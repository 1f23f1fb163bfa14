#pragma once
// The main calculator window: formula, result and status boxes, the keypad, the
// formula history, the decimal-places list, the angle-unit button and the buttons
// that open the other windows.

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "calculator/history.h"
#include "calculator/keypad.h"
#include "engine/calc_settings.h"
#include "expr/calculate.h"
#include "ui/window_ids.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QMenu;
class QPushButton;

namespace hc {
namespace ui {
class TextBox;
}

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    ui::TextBox* text1() const { return text1_; }
    ui::TextBox* text2() const { return text2_; }
    ui::TextBox* text3() const { return text3_; }
    QLineEdit* text4() const { return text4_; }
    QComboBox* combo1() const { return combo1_; }
    QPushButton* command5() const { return command5_; }
    QPushButton* hmBut(int index) const;
    const SavedSelection& savedSelection() const { return saved_; }
    const FormulaHistory& history() const { return history_; }
    const QString& lastRandomText() const { return lastRandom_; }
    // The display decimals, angle unit and memory variables this window calculates
    // with; its variable editor Form3 edits the memory.
    const CalcSettings& settings() const { return settings_; }

    // The handlers of the window's buttons, callable directly. calculate() runs the
    // calculation on a thread of its own and keeps handling the window's events until
    // it ends (the window repaints, Esc or closing cancels it); it returns once the
    // result, or the cancellation, is shown. A call while one runs does nothing.
    void calculate();
    bool calculating() const { return running_ != nullptr; }
    // Stops a running calculation: no result, a status saying so, the formula as it was.
    void cancelCalculation();
    void keyPressed(int index);
    void clear();
    void browseBack();
    void browseForward();
    void cycleAngleUnit();
    // The window became active again (coming back from another window): the result
    // stays, the formula box takes the focus with its saved selection.
    void activated();
    // The calculation calculate() runs on its thread (ZelJiSuanSuanShi unless
    // replaced, as tests do to make it fail).
    using Evaluator = std::function<CalcResult(const QString& formula, const CalcSettings& settings,
                                               const std::atomic<bool>* cancel)>;
    void setEvaluator(Evaluator evaluator) { evaluator_ = std::move(evaluator); }
    // The status text when a calculation ran out of memory.
    static QString outOfMemoryText();
    // Puts the result box's number on the clipboard as plain text (plainResult());
    // an empty result box leaves the clipboard alone.
    void copyResult();
    // The context menu of the result box at `pos` (viewport coordinates): "复制结果"
    // first, then the box's standard entries. The caller owns the menu.
    QMenu* resultContextMenu(const QPoint& pos);

signals:
    void closed();
    void firstShown();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    // The caret after the formula, and saved there.
    void caretToEnd();
    void load();
    void saveSelection();
    void closingSteps();
    // Keys typed in the formula box and in the other controls; true when handled.
    bool formulaKey(QKeyEvent* e);
    bool controlKey(QWidget* control, QKeyEvent* e);
    QPushButton* linkButton(const QString& name, const QString& caption, ui::WindowId window);
    // Enables or disables what may not be used while a calculation runs.
    void setCalculating(bool on);

    ui::TextBox* text1_ = nullptr;
    ui::TextBox* text2_ = nullptr;
    ui::TextBox* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* calcButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QLabel* label1_ = nullptr;
    QPushButton* keys_[kKeyCount + 1] = {};

    CalcSettings settings_;
    FormulaHistory history_;
    SavedSelection saved_;
    QString lastRandom_;
    bool shownOnce_ = false;
    // Another window of the calculator was active since this one was: the next
    // activation is a return to the main window (the first showing is one too).
    bool returnPending_ = true;
    QObject* activationWatch_ = nullptr;
    // The cancel flag of the running calculation; null when none runs.
    std::shared_ptr<std::atomic<bool>> running_;
    Evaluator evaluator_;
};

}  // namespace hc
