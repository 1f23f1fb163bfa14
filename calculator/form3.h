#pragma once
// The memory-variable editor: nine boxes for r ... z of the main window's settings.

#include <QWidget>

#include "engine/calc_settings.h"

class QLineEdit;

namespace hc {

class Form3 : public QWidget {
    Q_OBJECT
public:
    // Edits the memory of `settings`, which must outlive the window.
    explicit Form3(CalcSettings& settings, QWidget* parent = nullptr);

    QLineEdit* box(int i) const { return boxes_[i]; }  // 0 = r ... 8 = z

    void allOnes();       // Command1
    void oneToNine();     // Command2
    void save();          // Command3
    void saveAndClose();  // Command4

private:
    void showValues();
    CalcSettings& settings_;
    QLineEdit* boxes_[9] = {};
};

}  // namespace hc
