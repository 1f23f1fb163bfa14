#pragma once
// The statistics window: a data box of numbers in columns, ten statistics for each
// of five columns, saving and importing the data as a text file.

#include <QString>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hc {
namespace ui {
class TextBox;
}

class Form201 : public QWidget {
    Q_OBJECT
public:
    explicit Form201(QWidget* parent = nullptr);

    // Asks for the file to save to (`save`) or import from; the empty text cancels.
    // The default shows a file dialog.
    using FileChooser = std::function<QString(QWidget* parent, bool save)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    ui::TextBox* dataBox() const { return text1_; }
    // Result box of statistic row r (1-10) and column c (1-5): Text(5 (r - 1) + c + 1).
    QLineEdit* resultBox(int row, int column) const;
    QString separator() const { return separator_; }

    // Command1. The statistics run on a worker thread while the window shows the share
    // done and keeps repainting; Esc or closing the window cancels them (the data box
    // then stays as it was). Returns once the results or the cancellation are shown; a
    // call while a run is going does nothing.
    void compute();
    void cancelCompute();
    void chooseSeparator(const QString& text);  // Combo2 click
    void save();                                // Command4
    void import();                              // Command5
    // Writes the data box to `path` / loads `path` into it; a failure is shown in a
    // message box. True on success.
    bool saveTo(const QString& path);
    bool importFrom(const QString& path);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void setComputing(bool on);

    ui::TextBox* text1_ = nullptr;
    QLabel* label14_ = nullptr;
    QPushButton* command1_ = nullptr;
    std::shared_ptr<std::atomic<bool>> running_;  // the running run's cancel flag
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QLineEdit* results_[50] = {};
    QString separator_ = QStringLiteral("*");
    int decimals_ = 15;
    int resultBoxWidth_ = 0;  // least width of a result box, in pixels
    FileChooser chooser_;
};

}  // namespace hc
