#pragma once
// The equations window: a system of linear equations (or its augmented matrix) solved
// exactly.

#include "tools/windows/exact_tool_window.h"

class QPushButton;

namespace hc {

class Form207 : public ExactToolWindow {
    Q_OBJECT
public:
    Form207();

    ui::TextBox* system() const { return text1_; }
    QPushButton* solveButton() const { return command1_; }

    void solve();  // Command1

protected:
    void setRunning(bool on) override;

private:
    ui::TextBox* text1_ = nullptr;
    QPushButton* command1_ = nullptr;
};

}  // namespace hc
