#pragma once
// The matrix window: matrices A and B typed as rows of formulas, the number k or n,
// and one button per exact operation.

#include <QList>

#include "tools/matrix_ops.h"
#include "tools/windows/exact_tool_window.h"

class QLineEdit;
class QPushButton;

namespace hc {

class Form205 : public ExactToolWindow {
    Q_OBJECT
public:
    Form205();

    ui::TextBox* matrixA() const { return textA_; }
    ui::TextBox* matrixB() const { return textB_; }
    QLineEdit* number() const { return number_; }
    // The button of `op` (its object name is "Command" and the operation's name).
    QPushButton* button(MatrixOp op) const;

    // The handler of an operation button.
    void compute(MatrixOp op);

protected:
    void setRunning(bool on) override;

private:
    ui::TextBox* textA_ = nullptr;
    ui::TextBox* textB_ = nullptr;
    QLineEdit* number_ = nullptr;
    QList<QPushButton*> buttons_;
};

}  // namespace hc
