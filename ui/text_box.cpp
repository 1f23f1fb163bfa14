#include "ui/text_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace hc::ui {
namespace {

// Block format property of a piece that continues the line of the block before it.
// Block formats are undone and redone with the text, so an undone deletion brings a
// soft break back as a soft break.
constexpr int kContinuesLine = QTextFormat::UserProperty + 0x6863;

bool continuesLine(const QTextBlock& b) {
    return b.isValid() && b.blockFormat().boolProperty(kContinuesLine);
}

QTextBlockFormat blockFormat(bool continuing) {
    QTextBlockFormat f;
    if (continuing) f.setProperty(kContinuesLine, true);
    return f;
}

// The characters that QTextCursor::insertText turns into a new block ("\r\n" counts
// as one break).
bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == u'\xFDD0' ||
           c == u'\xFDD1';
}

qsizetype lineBreakLength(QStringView text, qsizetype i) {
    return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
}

// The length in text() of a block's text: a line separator is written as a line end.
int textLength(QStringView blockText, int lineEndLength) {
    return static_cast<int>(blockText.size() +
                            blockText.count(QChar::LineSeparator) * (lineEndLength - 1));
}

// Appends block text as QTextDocument::toPlainText writes it, with `lineEnd` for a
// line separator.
void appendBlockText(QString& out, QStringView t, QStringView lineEnd) {
    qsizetype from = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c != QChar::LineSeparator && c != QChar::Nbsp) continue;
        out.append(t.sliced(from, i - from));
        if (c == QChar::Nbsp)
            out.append(u' ');
        else
            out.append(lineEnd);
        from = i + 1;
    }
    out.append(t.sliced(from));
}

// Where the piece of `line` from `start` ends: kPieceLength characters on, moved back
// so that no surrogate pair and no character with its marks is cut.
qsizetype pieceEnd(QStringView line, qsizetype start) {
    qsizetype end = start + TextBox::kPieceLength;
    if (end >= line.size()) return line.size();
    const qsizetype least = start + TextBox::kPieceLength / 2;
    while (end > least && (line[end].isLowSurrogate() || line[end].isMark() ||
                           line[end] == u'\x200D' || line[end - 1] == u'\x200D'))
        --end;
    return end;
}

bool isHorizontalMove(const QKeyEvent* e, bool* selecting) {
    static const QKeySequence::StandardKey kMoves[] = {
        QKeySequence::MoveToNextChar, QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord};
    static const QKeySequence::StandardKey kSelections[] = {
        QKeySequence::SelectNextChar, QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord};
    *selecting = std::any_of(std::begin(kSelections), std::end(kSelections),
                             [e](QKeySequence::StandardKey k) { return e->matches(k); });
    return *selecting || std::any_of(std::begin(kMoves), std::end(kMoves),
                                     [e](QKeySequence::StandardKey k) { return e->matches(k); });
}

}  // namespace

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) { setTabChangesFocus(true); }

QString TextBox::textBetween(int docStart, int docEnd, QStringView lineEnd) const {
    const QString raw = document()->toRawText();  // indexed by document position
    QString out;
    out.reserve(std::max(docEnd - docStart, 0));
    for (QTextBlock b = document()->findBlock(docStart); b.isValid() && b.position() <= docEnd;
         b = b.next()) {
        if (b.position() > docStart && !continuesLine(b)) out.append(lineEnd);
        const int from = std::max(docStart, b.position());
        const int to = std::min(docEnd, b.position() + b.length() - 1);
        if (to > from) appendBlockText(out, QStringView(raw).sliced(from, to - from), lineEnd);
    }
    return out;
}

QString TextBox::text() const { return textBetween(0, document()->characterCount() - 1, u"\r\n"); }

QString TextBox::toPlainText() const {
    return textBetween(0, document()->characterCount() - 1, u"\n");
}

void TextBox::insertPieces(QTextCursor& cursor, QStringView text) const {
    const bool cut = lineWrapMode() != QPlainTextEdit::NoWrap;
    qsizetype lineStart = 0;
    for (;;) {
        qsizetype i = lineStart;
        while (i < text.size() && !isLineBreak(text[i])) ++i;
        const QStringView line = text.sliced(lineStart, i - lineStart);
        for (qsizetype start = 0; start < line.size();) {
            const qsizetype end = cut ? pieceEnd(line, start) : line.size();
            if (start > 0) cursor.insertBlock(blockFormat(true));
            cursor.insertText(line.sliced(start, end - start).toString());
            start = end;
        }
        if (i == text.size()) break;
        cursor.insertBlock(blockFormat(false));
        lineStart = i + lineBreakLength(text, i);
    }
}

void TextBox::setText(const QString& text) {
    bool longLine = false;
    if (lineWrapMode() != QPlainTextEdit::NoWrap) {
        qsizetype run = 0;
        for (const QChar c : text) {
            run = isLineBreak(c) ? 0 : run + 1;
            if (run > kPieceLength) {
                longLine = true;
                break;
            }
        }
    }
    if (!longLine) {
        QString t = text;
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        setPlainText(t);
        return;
    }
    setPlainText(QString());
    QTextDocument* doc = document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    QTextCursor c(doc);
    c.beginEditBlock();
    insertPieces(c, text);
    c.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    setTextCursor(QTextCursor(doc));
}

void TextBox::insertText(const QString& text) {
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    insertPieces(c, text);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

void TextBox::replaceText(const QString& text) {
    QTextCursor c(document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(blockFormat(false));
    insertPieces(c, text);
    c.endEditBlock();
    setTextCursor(QTextCursor(document()));
}

int TextBox::toTextPos(int docPos) const {
    const QString raw = document()->toRawText();
    int textPos = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (b.position() > 0 && !continuesLine(b)) textPos += 2;
        const QStringView t = QStringView(raw).sliced(b.position(), b.length() - 1);
        const int offset = docPos - b.position();
        if (offset <= t.size()) return textPos + textLength(t.left(std::max(offset, 0)), 2);
        textPos += textLength(t, 2);
    }
    return textPos;
}

int TextBox::toDocPos(int textPos) const {
    const QString raw = document()->toRawText();
    textPos = std::max(textPos, 0);
    int start = 0;  // position in text() of the block's first character
    for (QTextBlock b = document()->begin();;) {
        const QStringView t = QStringView(raw).sliced(b.position(), b.length() - 1);
        const int length = textLength(t, 2);
        if (textPos <= start + length) {
            // A position between the CR and LF of a line separator is the one before it.
            int offset = 0;
            for (int k = start; offset < t.size(); ++offset) {
                k += t[offset] == QChar::LineSeparator ? 2 : 1;
                if (k > textPos) break;
            }
            return b.position() + offset;
        }
        const QTextBlock next = b.next();
        const int nextStart = start + length + (continuesLine(next) ? 0 : 2);
        // The end of the text, or a position between the CR and LF of a line end.
        if (!next.isValid() || textPos < nextStart)
            return b.position() + static_cast<int>(t.size());
        start = nextStart;
        b = next;
    }
}

int TextBox::selStart() const { return toTextPos(textCursor().selectionStart()); }

int TextBox::selLength() const {
    const QTextCursor c = textCursor();
    return toTextPos(c.selectionEnd()) - toTextPos(c.selectionStart());
}

QString TextBox::selText() const {
    const QTextCursor c = textCursor();
    return textBetween(c.selectionStart(), c.selectionEnd(), u"\r\n");
}

void TextBox::setSelection(int start, int length) {
    QTextCursor c = textCursor();
    c.setPosition(toDocPos(start));
    c.setPosition(toDocPos(start + std::max(length, 0)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TextBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
        const bool back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
        focusNextPrevChild(!back);
        e->accept();
        return;
    }
    if (!isReadOnly() && e->matches(QKeySequence::InsertParagraphSeparator)) {
        // QPlainTextEdit would give the new line the format of the current block,
        // which in a piece makes it a soft break.
        insertText(QStringLiteral("\n"));
        e->accept();
        return;
    }
    QTextCursor c = textCursor();
    const bool hadSelection = c.hasSelection();
    if (!hadSelection && !isReadOnly()) {
        // Backspace and Delete at a soft break remove the character beyond it.
        if (e->key() == Qt::Key_Backspace && c.atBlockStart() && continuesLine(c.block())) {
            c.movePosition(QTextCursor::PreviousCharacter);
            setTextCursor(c);
        } else if ((e->matches(QKeySequence::Delete) ||
                    e->matches(QKeySequence::DeleteEndOfWord)) &&
                   c.atBlockEnd() && continuesLine(c.block().next())) {
            c.movePosition(QTextCursor::NextCharacter);
            setTextCursor(c);
        }
    }
    const int before = textCursor().position();
    QPlainTextEdit::keyPressEvent(e);

    // A step of the caret from one side of a soft break to the other is no step in
    // the text: take one more.
    bool selecting = false;
    if (!isHorizontalMove(e, &selecting) || (hadSelection && !selecting)) return;
    c = textCursor();
    const int after = c.position();
    if (std::abs(after - before) != 1) return;
    const int later = std::max(before, after);
    const QTextBlock b = document()->findBlock(later);
    if (b.position() != later || !continuesLine(b)) return;
    c.movePosition(after > before ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter,
                   selecting ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    setTextCursor(c);
}

QMimeData* TextBox::createMimeDataFromSelection() const {
    const QTextCursor c = textCursor();
    auto* mime = new QMimeData;
    mime->setText(textBetween(c.selectionStart(), c.selectionEnd(), u"\n"));
    return mime;
}

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source || !source->hasText()) return;
    insertText(source->text());
}

void TextBox::focusInEvent(QFocusEvent* e) {
    QPlainTextEdit::focusInEvent(e);
    emit gotFocus();
}

void TextBox::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    emit lostFocus();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

}  // namespace hc::ui
