#pragma once
// The calculus windows: integral (积分计算), derivative and root (微分计算), and error
// propagation (误差计算). One class, built in one of three modes; the work is done by
// tools/calculus.h off the window thread, and Esc stops it.

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "engine/calc_settings.h"
#include "tools/calculus.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace hc {

class CalculusWindow : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Integral, DerivativeAndRoot, Propagation };
    explicit CalculusWindow(Mode mode, QWidget* parent = nullptr);
    ~CalculusWindow() override;

    // The buttons' handlers: Command1 (integral, first derivative, propagation),
    // Command2 (second derivative) and Command3 (root).
    void command1();
    void command2();
    void command3();
    // Stops a running calculation (Esc).
    void cancel();

    // The angle unit and display decimals the window's controls select.
    CalcSettings settings() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Runs `job` on a worker thread while the window keeps handling events, then shows
    // its output and its notices.
    void run(const std::function<CalculusResult(const CancelFlag*)>& job);
    void setRunning(bool on);

    Mode mode_;
    QLineEdit* function_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QPlainTextEdit* inputs_ = nullptr;
    QComboBox* angle_ = nullptr;
    QSpinBox* decimals_ = nullptr;
    QPlainTextEdit* output_ = nullptr;
    QList<QPushButton*> buttons_;
    std::shared_ptr<std::atomic<bool>> running_;
};

}  // namespace hc
