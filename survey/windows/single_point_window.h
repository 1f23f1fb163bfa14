#pragma once
// Single-point coordinate converter "单列式坐标转换": one point typed into fields,
// shown at once as latitude/longitude and in the 1.5, 3 and 6 degree grids, each
// value in a read-only field that copies cleanly. The conversions are those of the
// list window (survey/coord_window_ops.h).

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hc {

class SinglePointWindow : public QWidget {
    Q_OBJECT
public:
    explicit SinglePointWindow(QWidget* parent = nullptr);

    // Input: form box (0 latitude/longitude, 1 the 1.5, 2 the 3, 3 the 6 degree grid),
    // the value fields, the settings.
    QComboBox* fromBox() const { return from_; }
    QLineEdit* northField() const { return north_; }
    QLineEdit* eastField() const { return east_; }
    QLineEdit* heightField() const { return height_; }
    QComboBox* ellipsoidBox() const { return ellipsoid_; }
    QComboBox* meridianBox() const { return meridian_; }
    QPushButton* convertButton() const { return convert_; }
    // Results of form i (same order as the form box).
    QLineEdit* resultNorth(int i) const { return resultNorth_[i]; }
    QLineEdit* resultEast(int i) const { return resultEast_[i]; }
    QLineEdit* resultRemark(int i) const { return resultRemark_[i]; }
    QLabel* status() const { return status_; }

    void convert();

private:
    void updateCaptions();

    QComboBox* from_;
    QLineEdit* north_;
    QLineEdit* east_;
    QLineEdit* height_;
    QComboBox* ellipsoid_;
    QComboBox* meridian_;
    QPushButton* convert_;
    QLabel* northLabel_;
    QLabel* eastLabel_;
    QLineEdit* resultNorth_[4];
    QLineEdit* resultEast_[4];
    QLineEdit* resultRemark_[4];
    QLabel* status_;
};

}  // namespace hc
