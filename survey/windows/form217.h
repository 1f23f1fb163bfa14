#pragma once
// Theodolite window: traverses (closed loop, connecting, open), checked and adjusted.

#include "survey/plan_sketch.h"
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
    // The sketch of the data as it stands: the traverse or the intersection computed.
    PlanSketch sketch() const;

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
