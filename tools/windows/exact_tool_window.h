#pragma once
// What the matrix and equations windows share: the option row (decimal places, cell
// separator, angle unit of the cell formulas, fractions), the output box, and running
// an exact computation off the window thread, with Esc (or closing) to cancel it.

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "engine/calc_settings.h"
#include "expr/cancel.h"
#include "tools/rational_matrix.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QCloseEvent;
class QKeyEvent;

namespace hc {
namespace ui {
class TextBox;
}

class ExactToolWindow : public QWidget {
    Q_OBJECT
public:
    // A job: the output box text for the cancel flag it is given; `cancelled` says the
    // flag stopped it.
    struct JobResult {
        QString output;
        bool cancelled = false;
    };
    using Job = std::function<JobResult(const CancelFlag* cancel)>;

    bool running() const { return running_ != nullptr; }
    // Stops the running job; its output box then says so.
    void cancel();

    // The options as the controls show them now.
    CalcSettings settings() const;
    ValueStyle style() const;
    QString separator() const;
    ui::TextBox* output() const { return output_; }

    // The output box text while a job runs.
    static QString runningText();
    static QString outOfMemoryText();

protected:
    // `name`: the window id; the option controls go into `grid` at `row`.
    ExactToolWindow(const QString& name, const QString& title);
    void addOptions(QGridLayout* grid, int row, int columns);
    ui::TextBox* makeOutput();
    // Runs `job` on a thread of its own and handles the window's events until it ends;
    // returns once its text is in the output box. A call while one runs does nothing.
    void runJob(const Job& job);
    // Enables or disables what may not be used while a job runs.
    virtual void setRunning(bool on) = 0;

    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QComboBox* decimals_ = nullptr;
    QComboBox* separator_ = nullptr;
    QComboBox* angle_ = nullptr;
    QCheckBox* fractions_ = nullptr;
    ui::TextBox* output_ = nullptr;
    std::shared_ptr<std::atomic<bool>> running_;
};

}  // namespace hc
