#pragma once
// The decomposition window: a number split into its integer part and fraction digits.

#include <QWidget>

class QLineEdit;

namespace hc {

class Form210 : public QWidget {
    Q_OBJECT
public:
    explicit Form210(QWidget* parent = nullptr);

    void run();  // Command1

private:
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
};

}  // namespace hc
