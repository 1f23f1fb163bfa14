#include "ui/window_kit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <new>
#include <stdexcept>

#include "ui/services.h"

namespace hc::ui {
namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "window_kit_test";
    static char* argv[] = {name, nullptr};
    static QApplication a(argc, argv);
    return a;
}

// Collects what qWarning writes while it lives.
class WarningLog {
public:
    WarningLog() { previous_ = qInstallMessageHandler(&WarningLog::handle); }
    ~WarningLog() {
        qInstallMessageHandler(previous_);
        lines().clear();
    }
    static QStringList& lines() {
        static QStringList l;
        return l;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg) lines() << text;
    }
    QtMessageHandler previous_;
};

TEST(WindowKit, AnEscapingExceptionIsLoggedAndShownNeverSwallowed) {
    struct Case {
        std::function<void()> handler;
        QString shown;
        QString logged;
    };
    const Case cases[] = {
        {[] { throw std::bad_alloc(); }, outOfMemoryNoticeText(), QStringLiteral("out of memory")},
        {[] { throw std::runtime_error("disk gone"); },
         handlerFailedText(QStringLiteral("disk gone")), QStringLiteral("disk gone")},
        {[] { throw 7; }, handlerFailedText(QStringLiteral("未知的错误")),
         QStringLiteral("unknown exception")},
    };
    for (const Case& c : cases) {
        RecordingServices rec;
        WarningLog log;
        EXPECT_FALSE(runGuarded(c.handler, QStringLiteral("Form9 button")));
        EXPECT_EQ(rec.messages, QStringList{c.shown});
        ASSERT_EQ(WarningLog::lines().size(), 1);
        EXPECT_TRUE(WarningLog::lines()[0].startsWith(QStringLiteral("Form9 button: ")));
        EXPECT_TRUE(WarningLog::lines()[0].contains(c.logged))
            << WarningLog::lines()[0].toStdString();
    }
    EXPECT_TRUE(outOfMemoryNoticeText().contains(QStringLiteral("内存不足")));
}

TEST(WindowKit, AHandlerThatFinishesShowsNothing) {
    RecordingServices rec;
    int runs = 0;
    EXPECT_TRUE(runGuarded([&] { ++runs; }));
    auto slot = guardedSlot([&] { ++runs; });
    slot();
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST(WindowKit, AGuardedSlotKeepsAButtonClickFromEndingTheProgram) {
    app();
    RecordingServices rec;
    QWidget window;
    QPushButton* b = namedButton(&window, QStringLiteral("Command1"), QStringLiteral("运  行"),
                                 QStringLiteral("提示"));
    QObject::connect(b, &QPushButton::clicked, &window,
                     guardedSlot([] { throw std::bad_alloc(); }));
    b->click();
    EXPECT_EQ(rec.messages, QStringList{outOfMemoryNoticeText()});
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("Command1")), b);
    EXPECT_EQ(b->toolTip(), QStringLiteral("提示"));
}

TEST(WindowKit, HeadingIsBoldLargerAndCentred) {
    app();
    QWidget window;
    QLabel* plain = namedLabel(&window, QStringLiteral("Label2"), QStringLiteral("数据"));
    QLabel* heading = headingLabel(&window, QStringLiteral("Label1"), QStringLiteral("标题"));
    EXPECT_EQ(heading->objectName(), QStringLiteral("Label1"));
    EXPECT_TRUE(heading->font().bold());
    EXPECT_DOUBLE_EQ(heading->font().pointSizeF(), plain->font().pointSizeF() * 1.5);
    EXPECT_EQ(heading->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(plain->toolTip().isEmpty());
}

TEST(WindowKit, TwipsAreInchesOver1440AtTheWindowsResolution) {
    app();
    QWidget window;
    const int dpi = window.logicalDpiX();
    EXPECT_EQ(pixelsFromTwips(&window, 1440), dpi);
    EXPECT_EQ(pixelsFromTwips(&window, 0), 0);
    EXPECT_EQ(twipsFromPixels(&window, dpi), 1440);
    for (int twips : {120, 330, 4455, 11000})
        EXPECT_NEAR(twipsFromPixels(&window, pixelsFromTwips(&window, twips)), twips, 1440.0 / dpi)
            << twips;
}

}  // namespace
}  // namespace hc::ui
