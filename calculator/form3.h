#pragma once
// The memory-variable editor: nine boxes for r ... z of the calculation state.

#include <QWidget>

class QLineEdit;

namespace hc {

class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    QLineEdit* box(int i) const { return boxes_[i]; }  // 0 = r ... 8 = z

    void allOnes();       // Command1
    void oneToNine();     // Command2
    void save();          // Command3
    void saveAndClose();  // Command4

private:
    void showValues();
    QLineEdit* boxes_[9] = {};
};

}  // namespace hc
