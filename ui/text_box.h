#pragma once
// The text box of the windows: its text uses CR LF line ends, selections are
// counted in characters of that text, and it signals getting and losing the focus.
//
// Qt lays out a whole block (one line of the text) each time a character of it
// changes or it first comes into view, in time proportional to its length: a
// pasted formula of a megabyte held the window for about a second, and so did each
// key typed into it. So, in a box that wraps its lines, a long line is held as
// pieces of at most kPieceLength characters, each piece a block of its own that
// continues the line of the block before it. The joins between pieces ("soft
// breaks") are no part of text(), of selections or of what is copied; the caret
// and the Backspace and Delete keys step over them as over nothing. Only the pieces
// in view are laid out. A soft break shows as a line that ends early.
//
// Tab and Ctrl+Tab move the focus on (with Shift, back) instead of typing a tab:
// none of the texts needs one, and a pasted tab stays as it is.

#include <QPlainTextEdit>
#include <QString>
#include <QStringView>

class QMimeData;
class QTextBlock;
class QTextCursor;

namespace hc::ui {

class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kPieceLength = 4096;

    explicit TextBox(QWidget* parent = nullptr);

    // The text with CR LF line ends.
    QString text() const;
    // The text with LF line ends, as QPlainTextEdit gives it for a box without
    // pieces: line and paragraph separators as LF, no-break spaces as spaces.
    QString toPlainText() const;
    // Replaces the text (line ends CR LF, LF or CR) with an empty undo history and
    // the caret at the start.
    void setText(const QString& text);
    // Inserts `text` (line ends CR LF, LF or CR) in place of the selection, as one
    // undo step; like insertPlainText, also in a read-only box.
    void insertText(const QString& text);
    // Replaces the whole text (line ends CR LF, LF or CR) as one undo step, so that
    // Ctrl+Z brings back what was there; the caret goes to the start. For a window
    // that rewrites what the user typed.
    void replaceText(const QString& text);

    int selStart() const;
    int selLength() const;
    QString selText() const;
    // Selects `length` characters from `start` (both clamped to the text).
    void setSelection(int start, int length);

signals:
    void gotFocus();
    void lostFocus();
    void doubleClicked();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Writes `text` at the cursor, each line cut into pieces when the box wraps.
    void insertPieces(QTextCursor& cursor, QStringView text) const;
    // The text between two document positions, soft breaks left out, other line
    // breaks written as `lineEnd`.
    QString textBetween(int docStart, int docEnd, QStringView lineEnd) const;
    // Position in the document <-> position in text().
    int toTextPos(int docPos) const;
    int toDocPos(int textPos) const;
};

}  // namespace hc::ui
