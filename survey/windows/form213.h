#pragma once
// Coordinate conversion window "坐标换算": point lists between latitude/longitude and
// the 1.5, 3 and 6 degree Gauss-Krueger grids, and between the grids. The window only
// reads its controls and shows what the operations of survey/coord_conversion.h return.

#include <QPushButton>
#include <QWidget>

#include "survey/coord_conversion.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace hc {
namespace ui {
class TextBox;
}

class Form213 : public QWidget {
    Q_OBJECT
public:
    // What the window keeps between events; refreshed from the controls before each
    // conversion.
    struct State {
        bool withNames = true;
        QString separator = QStringLiteral(",");
        AxisOrder mode = AxisOrder::XYZ;
        Datum datum = Datum::Beijing1954;
        double meridian = 117;  // decimal degrees
        QString helpText;       // Text2's first text, restored by CommandHelp
    };

    explicit Form213(QWidget* parent = nullptr);

    const State& state() const { return state_; }
    ui::TextBox* text1() const { return text1_; }
    ui::TextBox* text2() const { return text2_; }
    // The button of a conversion (Command1to3 ... CommandJto6).
    QPushButton* button(GkConversion op) const;

    // Runs a conversion as its button does.
    void convert(GkConversion op);

    // Twips to pixels and back at the window's DPI (1440 twips to the inch).
    int px(int twips) const;
    int twips(int px) const;

    // The sample input and the help text the window starts with (CR LF lines).
    static QString sampleInput();
    static QString helpText();
    // The entries of the central-meridian box (Combo3) and the ellipsoid box (Combo4).
    static const QStringList& meridianEntries();
    static QStringList ellipsoidEntries();

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void layoutBoxes(int widthTwips, int heightTwips);
    void toggleOrder();
    void meridianLostFocus();
    void meridianClicked();
    void resetMeridian();
    void takeBackResults();
    // Width and height, in twips, that show every control whole.
    QSize minimumTwips() const;

    State state_;
    ui::TextBox* text1_;
    ui::TextBox* text2_;
    QPushButton* conversionButtons_[10];
    QComboBox* combo3_;
    QComboBox* combo4_;
    QComboBox* combo5_;
    QLabel* label1_;
    QLabel* label3_;
    QLabel* label4_;
    QLabel* label5_;
    QLabel* label21_;
    QRadioButton* option1_;
    QCheckBox* check1_;
    // CommandJiaoHuan, CommandPrint, CommandSketch, CommandGps, CommandDanLie
    QList<QPushButton*> printRow_;
    bool sketchFromOutput_ = false;  // the sketch shows the rows of Text2, not Text1
    QList<QPushButton*> helpRow_;    // CommandHelp, CommandJsq, CommandQiTa, the two links
};

}  // namespace hc
