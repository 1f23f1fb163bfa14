#pragma once
// The angle conversion window: one angle, six buttons for the ordered pairs of
// radians, decimal degrees and packed degrees-minutes-seconds.

#include <QWidget>

class QLabel;
class QLineEdit;

namespace hc {

class Form202 : public QWidget {
    Q_OBJECT
public:
    explicit Form202(QWidget* parent = nullptr);

    // Runs the conversion of button Command(index + 1), index 0-5.
    void convert(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label1_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
};

}  // namespace hc
