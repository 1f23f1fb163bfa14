#pragma once
// The frame of the field-survey windows (theodolite and rangefinder work): a heading,
// the data box Text1 on the left, the options in a row above it, the result box Text2
// (monospaced, so the columns line up) on the right, and the buttons "进行计算"
// (Command1), "示例" (Command2, fills Text1 with an example for the options chosen) and
// "打印屏幕" (Command3).

#include <QWidget>

class QGridLayout;
class QHBoxLayout;
class QPushButton;

namespace hc {
namespace ui {
class TextBox;
}

class FieldWorkWindow : public QWidget {
    Q_OBJECT
public:
    ui::TextBox* text1() const { return text1_; }
    ui::TextBox* text2() const { return text2_; }
    QPushButton* command1() const { return command1_; }
    QPushButton* command2() const { return command2_; }

    // Command1: reads the options and Text1, writes Text2 and shows the notices.
    virtual void calculate() = 0;
    // Command2: the example data for the options chosen.
    virtual QString sample() const = 0;

protected:
    FieldWorkWindow(const QString& name, const QString& title, const QString& heading);
    // Where the subclass puts its option controls (label, control pairs in a row).
    QGridLayout* options() const { return options_; }
    // The row of Command1 ... Command3, for a further button after them.
    QHBoxLayout* buttonRow() const { return buttons_; }

    ui::TextBox* text1_;
    ui::TextBox* text2_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;

private:
    QGridLayout* options_;
    QHBoxLayout* buttons_;
};

}  // namespace hc
