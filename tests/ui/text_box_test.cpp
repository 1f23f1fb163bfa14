// The text box: CR LF text and selections counted in its characters, and long lines
// held as pieces that are no part of the text, the caret, the keys or the clipboard.

#include "ui/text_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <ostream>

// Failures show the texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace hc {
namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "text_box_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);  // left to the end of the program
    return *a;
}

constexpr int kPiece = ui::TextBox::kPieceLength;

// `n` characters of formula text: digits and operators, now and then a Chinese
// operator word, a surrogate pair or a letter with a combining mark, so that piece
// ends fall on each of them somewhere.
QString formulaText(int n, int seed) {
    static const QString parts[] = {QStringLiteral("1+"),      QStringLiteral("23*"),
                                    QStringLiteral("加"),      QStringLiteral("\U0001D465"),
                                    QStringLiteral("e\u0301"), QStringLiteral("(4.5)"),
                                    QStringLiteral("乘以"),    QStringLiteral("-")};
    QString s;
    for (unsigned k = static_cast<unsigned>(seed); s.size() < n; k = k * 1103515245u + 12345u)
        s += parts[(k >> 16) % 8];
    s.truncate(n);
    if (s.back().isHighSurrogate()) s.back() = u'7';
    return s;
}

QStringList blockTexts(const ui::TextBox& box) {
    QStringList out;
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) out << b.text();
    return out;
}

class TextBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.setWordWrapMode(QTextOption::WrapAnywhere);
        box.resize(400, 200);
    }
    // The caret's text position after each of `presses` presses of `key`.
    std::vector<int> caretWalk(Qt::Key key, int presses, Qt::KeyboardModifiers mods = {}) {
        std::vector<int> at;
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(&box, key, mods);
            at.push_back(mods & Qt::ShiftModifier ? box.selStart() + box.selLength()
                                                  : box.selStart());
        }
        return at;
    }
    QApplication& application = app();  // made before the box
    ui::TextBox box;
};

TEST_F(TextBoxTest, CrLfTextAndSelectionsCountedInItsCharacters) {
    box.setText(QStringLiteral("ab\r\ncd\r\nef"));
    EXPECT_EQ(box.toPlainText(), "ab\ncd\nef");
    EXPECT_EQ(box.text(), "ab\r\ncd\r\nef");
    box.setSelection(4, 4);  // "cd\r\n"
    EXPECT_EQ(box.selStart(), 4);
    EXPECT_EQ(box.selLength(), 4);
    EXPECT_EQ(box.selText(), "cd\r\n");
    box.setSelection(3, 0);  // between CR and LF: the end of the line before
    EXPECT_EQ(box.selStart(), 2);
    box.setSelection(100, 0);
    EXPECT_EQ(box.selStart(), 10);
    EXPECT_EQ(box.selLength(), 0);

    // Shift+Enter's line separator is a line end of the text too.
    box.setSelection(1, 0);
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(box.text(), "a\r\nb\r\ncd\r\nef");
    EXPECT_EQ(box.selStart(), 3);
    box.setSelection(2, 5);
    EXPECT_EQ(box.selStart(), 1);  // between CR and LF: before them
    EXPECT_EQ(box.selText(), "\r\nb\r\nc");
}

TEST_F(TextBoxTest, LongLinesAreHeldInPiecesThatAreNoPartOfTheText) {
    const QString a = formulaText(3 * kPiece + 17, 1);
    const QString b = formulaText(kPiece + 1, 2);
    struct Case {
        QString in, text;
    } cases[] = {
        {a, a},
        {a + "\r\n" + b + "\n" + b + "\rx", a + "\r\n" + b + "\r\n" + b + "\r\nx"},
        {"\r\n" + a + "\r\n", "\r\n" + a + "\r\n"},
        {formulaText(kPiece, 3), formulaText(kPiece, 3)},  // one piece exactly
    };
    for (const Case& c : cases) {
        box.setText(c.in);
        EXPECT_EQ(box.text(), c.text);
        EXPECT_EQ(box.toPlainText(), QString(c.text).replace("\r\n", "\n"));
        for (const QString& piece : blockTexts(box)) {
            EXPECT_LE(piece.size(), kPiece);
            if (!piece.isEmpty()) {
                EXPECT_FALSE(piece.front().isLowSurrogate());
                EXPECT_FALSE(piece.front().isMark());
            }
        }
    }
    box.setText(a);
    EXPECT_EQ(box.blockCount(), 4);
    EXPECT_FALSE(box.document()->isUndoAvailable());

    // A box that does not wrap shows every line whole.
    ui::TextBox flat;
    flat.setLineWrapMode(QPlainTextEdit::NoWrap);
    flat.setText(a + "\r\n" + b);
    EXPECT_EQ(flat.blockCount(), 2);
    EXPECT_EQ(flat.text(), a + "\r\n" + b);
}

TEST_F(TextBoxTest, SelectionsAcrossPiecesCountInTextCharacters) {
    const QString t = formulaText(2 * kPiece + 50, 4) + "\r\nend" + QChar(QChar::Nbsp);
    box.setText(t);
    const QString text = QString(t).replace(QChar(QChar::Nbsp), u' ');
    ASSERT_EQ(box.text(), text);
    // Around both piece ends, the line end and the end of the text.
    const int ends[] = {0, kPiece, 2 * kPiece, static_cast<int>(text.size()) - 6,
                        static_cast<int>(text.size())};
    for (int end : ends) {
        for (int start = end - 3; start <= end + 3; ++start) {
            for (int length : {0, 1, 2, 5, kPiece + 3}) {
                if (start < 0 || start + length > text.size()) continue;
                // A start or end between CR and LF is the position before them.
                const auto fixed = [&](int p) {
                    return p > 0 && text[p - 1] == u'\r' && text[p] == u'\n' ? p - 1 : p;
                };
                box.setSelection(start, length);
                SCOPED_TRACE(testing::Message() << "start " << start << " length " << length);
                EXPECT_EQ(box.selStart(), fixed(start));
                EXPECT_EQ(box.selStart() + box.selLength(), fixed(start + length));
                EXPECT_EQ(box.selText(), text.mid(box.selStart(), box.selLength()));
            }
        }
    }
}

TEST_F(TextBoxTest, CaretAndKeysStepOverPieceEnds) {
    const QString t = formulaText(2 * kPiece, 5).replace(QRegularExpression("[^0-9+*()\\-]"), "9");
    box.setText(t);
    ASSERT_GT(box.blockCount(), 1);
    const int end = static_cast<int>(box.document()->begin().text().size());

    // Right and Left move one text character per press, over the piece end.
    box.setSelection(end - 2, 0);
    EXPECT_EQ(caretWalk(Qt::Key_Right, 4), (std::vector<int>{end - 1, end, end + 1, end + 2}));
    EXPECT_EQ(caretWalk(Qt::Key_Left, 4), (std::vector<int>{end + 1, end, end - 1, end - 2}));
    box.setSelection(end - 1, 0);
    EXPECT_EQ(caretWalk(Qt::Key_Right, 2, Qt::ShiftModifier), (std::vector<int>{end, end + 1}));
    EXPECT_EQ(box.selText(), t.mid(end - 1, 2));

    // Backspace and Delete at the piece end remove the character beyond it, whichever
    // side of the end the caret is on.
    for (int side : {0, 1}) {
        const auto caretAtJoin = [&] {
            box.setText(t);
            QTextCursor c = box.textCursor();
            c.setPosition(end + side);  // end of the first piece, start of the second
            box.setTextCursor(c);
        };
        caretAtJoin();
        QTest::keyClick(&box, Qt::Key_Backspace);
        EXPECT_EQ(box.text(), QString(t).remove(end - 1, 1)) << side;
        caretAtJoin();
        QTest::keyClick(&box, Qt::Key_Delete);
        EXPECT_EQ(box.text(), QString(t).remove(end, 1)) << side;
    }

    // Typing and Enter inside a piece: a real line end, also right after the join.
    box.setText(t);
    box.setSelection(end, 0);
    QTest::keyClicks(&box, "7");
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.text(), t.left(end) + "7\r\n" + t.mid(end));
    EXPECT_EQ(box.selStart(), end + 3);
    box.setSelection(kPiece + 100, 0);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.text(),
              t.left(end) + "7\r\n" + t.mid(end, kPiece + 97 - end) + "\r\n" + t.mid(kPiece + 97));
}

TEST_F(TextBoxTest, PasteCopyAndUndoOfALongLine) {
    const QString head = QStringLiteral("12+");
    const QString pasted = formulaText(3 * kPiece + 333, 6);
    box.setText(head + "3");
    box.setSelection(3, 0);
    QApplication::clipboard()->setText(pasted);
    box.paste();
    const QString whole = head + pasted + "3";
    EXPECT_EQ(box.text(), whole);
    EXPECT_GT(box.blockCount(), 3);
    EXPECT_EQ(box.selStart(), whole.size() - 1);

    // A copy across pieces holds the text alone.
    box.setSelection(2, 2 * kPiece + 5);
    box.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), whole.mid(2, 2 * kPiece + 5));

    // Cutting, undo and redo keep the text whole.
    box.cut();
    EXPECT_EQ(box.text(), whole.left(2) + whole.mid(2 * kPiece + 7));
    box.undo();
    EXPECT_EQ(box.text(), whole);
    box.undo();
    EXPECT_EQ(box.text(), head + "3");
    box.redo();
    EXPECT_EQ(box.text(), whole);

    // A read-only box takes no paste.
    box.setReadOnly(true);
    box.paste();
    EXPECT_EQ(box.text(), whole);
}

// A window's rewrite of what the user typed is one step that Ctrl+Z takes back, in a
// box with and without pieces.
TEST_F(TextBoxTest, ReplacedTextComesBackWithCtrlZ) {
    const QString longLine = formulaText(2 * kPiece + 99, 7);
    for (bool wrap : {false, true}) {
        box.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        box.setText(QString());
        box.setFocus();
        QTest::keyClicks(&box, QStringLiteral("typed 1,2"));
        box.insertText(QStringLiteral("\r\n") + longLine);
        const QString typed = box.text();
        box.replaceText(QStringLiteral("echo\r\nrow 2\r\n"));
        EXPECT_EQ(box.text(), QStringLiteral("echo\r\nrow 2\r\n"));
        EXPECT_EQ(box.selStart(), 0);
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box.text(), typed) << wrap;
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(box.text(), QStringLiteral("echo\r\nrow 2\r\n")) << wrap;

        // A long line written by the window is held in pieces, and undone whole.
        box.replaceText(longLine);
        EXPECT_EQ(box.text(), longLine);
        if (wrap) {
            EXPECT_GT(box.blockCount(), 2);
        }
        box.undo();
        EXPECT_EQ(box.text(), QStringLiteral("echo\r\nrow 2\r\n"));
    }
}

// Tab and Ctrl+Tab (with Shift: back) move the focus; no tab character is typed.
TEST_F(TextBoxTest, TabKeysMoveTheFocus) {
    QWidget window;
    auto* first = new ui::TextBox(&window);
    auto* second = new ui::TextBox(&window);
    second->move(0, 120);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setText(QStringLiteral("1,2"));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        ui::TextBox* from;
        ui::TextBox* to;
    } cases[] = {{Qt::Key_Tab, Qt::NoModifier, first, second},
                 {Qt::Key_Tab, Qt::ControlModifier, first, second},
                 {Qt::Key_Backtab, Qt::ShiftModifier, second, first},
                 {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, second, first}};
    for (const auto& c : cases) {
        c.from->setFocus();
        ASSERT_TRUE(c.from->hasFocus());
        QTest::keyClick(c.from, c.key, c.mods);
        EXPECT_TRUE(c.to->hasFocus()) << int(c.mods);
        EXPECT_FALSE(first->text().contains(u'\t'));
        EXPECT_FALSE(second->text().contains(u'\t'));
    }
    EXPECT_EQ(first->text(), QStringLiteral("1,2"));
}

}  // namespace
}  // namespace hc
