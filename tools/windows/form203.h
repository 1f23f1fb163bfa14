#pragma once
// Form203, "进制换算": a two-operand calculator in base 2, 8, 10 or 16 with six
// arithmetic and six bitwise operations, a digit keypad and a help box. Every
// handler runs an operation of tools/base_calculator.h on the window's state and
// copies the new state into the controls.

#include <QWidget>
#include <array>

#include "tools/base_calculator.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace hc {

namespace ui {
class TextBox;
}

class Form203 : public QWidget {
    Q_OBJECT
public:
    explicit Form203(QWidget* parent = nullptr);

    const BaseWindowState& state() const { return state_; }
    QLineEdit* dataBox(int i) const { return data_[i]; }  // Text1, Text2
    QLineEdit* resultBox() const { return result_; }      // Text3
    ui::TextBox* helpBox() const { return help_; }        // Text4

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs an operation on the state with the live data texts, then shows the state
    // and, when the operation returns true, puts the focus back into the active box
    // at its remembered caret; nothing escapes.
    template <typename Op>
    void run(Op op);
    void pullTexts();
    void display(const BaseWindowState& s);
    void focusActive();
    void remember(int box);

    BaseWindowState state_;
    std::array<QLineEdit*, 2> data_{};
    QLineEdit* result_ = nullptr;
    ui::TextBox* help_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label7_ = nullptr;
    std::array<QRadioButton*, 4> baseOptions_{};
    std::array<QRadioButton*, kBaseOperationCount> operationOptions_{};
    std::array<QPushButton*, 16> digitKeys_{};
};

}  // namespace hc
