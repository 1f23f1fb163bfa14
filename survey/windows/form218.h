#pragma once
// Rangefinder window: slope distances reduced to horizontal distances, height
// differences, the ellipsoid and the Gauss-Krueger plane.

#include "survey/windows/field_work_window.h"

class QComboBox;
class QLineEdit;

namespace hc {

class Form218 : public FieldWorkWindow {
    Q_OBJECT
public:
    Form218();

    void calculate() override;
    QString sample() const override;

    QComboBox* angleKindBox() const { return angleKind_; }
    QLineEdit* refractionEdit() const { return refraction_; }
    QLineEdit* ppmEdit() const { return ppm_; }
    QLineEdit* heightEdit() const { return height_; }
    QLineEdit* xEdit() const { return x_; }
    QLineEdit* yEdit() const { return y_; }
    QComboBox* zoneBox() const { return zone_; }
    QComboBox* datumBox() const { return datum_; }

private:
    QComboBox* angleKind_;
    QLineEdit* refraction_;
    QLineEdit* ppm_;
    QLineEdit* height_;
    QLineEdit* x_;
    QLineEdit* y_;
    QComboBox* zone_;
    QComboBox* datum_;
};

}  // namespace hc
