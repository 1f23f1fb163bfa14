#pragma once
// Theodolite window: traverses (closed loop, connecting, open), checked and adjusted.

#include "survey/windows/field_work_window.h"

class QComboBox;
class QLineEdit;

namespace hc {

class Form217 : public FieldWorkWindow {
    Q_OBJECT
public:
    Form217();

    void calculate() override;
    QString sample() const override;

    QComboBox* kindBox() const { return kind_; }
    QComboBox* anglesBox() const { return angles_; }
    QComboBox* gradeBox() const { return grade_; }
    QLineEdit* allowanceEdit() const { return allowance_; }
    QLineEdit* relativeEdit() const { return relative_; }
    QLineEdit* bearingEdit() const { return bearing_; }

private:
    QComboBox* kind_;
    QComboBox* angles_;
    QComboBox* grade_;
    QLineEdit* allowance_;
    QLineEdit* relative_;
    QLineEdit* bearing_;
};

}  // namespace hc
