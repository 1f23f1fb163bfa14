#pragma once
// The area window: plane and ellipsoidal areas of the parcels of a point list.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace hc {
namespace ui {
class TextBox;
}

class Form215 : public QWidget {
    Q_OBJECT
public:
    explicit Form215(QWidget* parent = nullptr);

    ui::TextBox* text1() const { return text1_; }
    ui::TextBox* text2() const { return text2_; }
    QCheckBox* check1() const { return check1_; }
    QComboBox* datumBox() const { return datum_; }
    QComboBox* zoneBox() const { return zone_; }
    QLineEdit* meridianBox() const { return meridian_; }
    QComboBox* decimalsBox() const { return decimals_; }

    // Command1: computes and writes the boxes.
    void calculate();

private:
    // The grid controls are used with grid input only.
    void showMode();

    ui::TextBox* text1_;
    ui::TextBox* text2_;
    QCheckBox* check1_;
    QComboBox* datum_;
    QComboBox* zone_;
    QLineEdit* meridian_;
    QComboBox* decimals_;
    QPushButton* command1_;
    QPushButton* command2_;
};

}  // namespace hc
