#pragma once
// The linear regression window: a data box of numbers in columns, the choice of the
// y and x columns, the model and the digits, and an output box with the fit.

#include <QWidget>
#include <atomic>
#include <memory>

#include "tools/regression.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace hc {
namespace ui {
class TextBox;
}

class Form209 : public QWidget {
    Q_OBJECT
public:
    explicit Form209(QWidget* parent = nullptr);
    ~Form209() override;

    ui::TextBox* dataBox() const { return text1_; }
    ui::TextBox* outputBox() const { return text2_; }
    // The controls as the operation's input.
    RegressionInput input() const;

    // Command1: fits the data off the window thread; the window keeps repainting and
    // Esc stops the fit. Returns once the result (or the cancellation) is shown.
    void compute();
    void cancel();
    bool isComputing() const { return running_ != nullptr; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void setComputing(bool on);

    ui::TextBox* text1_ = nullptr;
    ui::TextBox* text2_ = nullptr;
    QComboBox* combo1_ = nullptr;  // label cells
    QComboBox* combo2_ = nullptr;  // separator
    QComboBox* combo3_ = nullptr;  // degree
    QComboBox* combo4_ = nullptr;  // significant digits or decimals
    QLineEdit* textY_ = nullptr;
    QLineEdit* textX_ = nullptr;
    QCheckBox* check1_ = nullptr;  // constant term
    QCheckBox* check2_ = nullptr;  // residuals
    QSpinBox* spin1_ = nullptr;    // digits
    QPushButton* command1_ = nullptr;
    std::shared_ptr<std::atomic<bool>> running_;
};

}  // namespace hc
