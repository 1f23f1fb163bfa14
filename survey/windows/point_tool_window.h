#pragma once
// The frame shared by the two windows that work on a point list (distance and
// bearing, plane attitude): the point list box, the output box, the point-name
// combo box, the calculate and print buttons, the mode check box, the labels,
// and the resize rule in twips.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QResizeEvent;

namespace hc {
namespace ui {
class TextBox;
}

class PointToolWindow : public QWidget {
    Q_OBJECT
public:
    ui::TextBox* text1() const { return text1_; }
    ui::TextBox* text2() const { return text2_; }
    QComboBox* combo2() const { return combo2_; }
    QCheckBox* check1() const { return check1_; }
    QPushButton* command1() const { return command1_; }

    // Twips to pixels and back at the window's DPI (1440 twips to the inch).
    int px(int twips) const;
    int twips(int px) const;

    // Command1: computes and writes the boxes.
    virtual void calculate() = 0;
    // Combo2 got focus: the list becomes "0" and the names of the current point list;
    // the typed text stays. The notices of reading the list are shown the first time
    // that text is read here, not again.
    void refillNames();

protected:
    // label6: the text after the combo box; heading7: the heading above Text2.
    PointToolWindow(const QString& name, const QString& title, const QString& label1,
                    const QString& label6, const QString& heading7, const QString& sample);

    virtual int listMode() const = 0;  // 1 grid, 0 geographic, for reading the names
    void resizeEvent(QResizeEvent* e) override;
    // Replaces the point list box's text (when it differs) as one undo step.
    void rewriteInput(const QString& text);
    // The smallest size that shows every control whole.
    void updateMinimumSize();
    bool eventFilter(QObject* watched, QEvent* e) override;

    ui::TextBox* text1_;
    ui::TextBox* text2_;
    QComboBox* combo2_;
    QCheckBox* check1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QLabel* label2_;
    QLabel* label7_;

private:
    // refillNames' work, run under the window's guard.
    void readNames();

    QString noticedText_;  // the list whose notices the combo box showed last
    int noticedMode_ = -1;
    bool readFailed_ = false;  // reading noticedText_ threw
    bool showingNotices_ = false;
};

}  // namespace hc
