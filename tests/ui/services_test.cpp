#include "ui/services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace hc::ui {
namespace {

TEST(ServicesTest, RecorderKeepsPromptsAndTitlesInOrder) {
    RecordingServices rec;
    messageBox(QStringLiteral("sec(x)为无穷大，采用近似计算....1E+28。"));
    messageBox(QStringLiteral("第二"), Buttons::CancelRetryContinue, QStringLiteral("标题"));
    EXPECT_EQ(rec.messages, (QStringList{QStringLiteral("sec(x)为无穷大，采用近似计算....1E+28。"),
                                         QStringLiteral("第二")}));
    EXPECT_EQ(rec.titles, (QStringList{QString(), QStringLiteral("标题")}));

    services().printWindow(nullptr);
    services().openWebPage(QStringLiteral("https://example.org/help"));
    EXPECT_EQ(rec.printed, 1);
    EXPECT_EQ(rec.openedPages, QStringList{QStringLiteral("https://example.org/help")});
}

// Records the buttons too, which the recorder leaves out.
class ButtonRecorder : public RecordingServices {
public:
    QList<Buttons> buttons;
    void messageBox(const QString& prompt, Buttons b, const QString& title) override {
        buttons << b;
        RecordingServices::messageBox(prompt, b, title);
    }
};

TEST(ServicesTest, NoticesAreShownInOrderWithTheirButtonsAndTitles) {
    ButtonRecorder rec;
    showNotices(
        {Notice{QStringLiteral("一"), NoticeButtons::Ok, QString()},
         Notice{QStringLiteral("二"), NoticeButtons::CancelRetryContinue, QStringLiteral("标题")},
         Notice{QStringLiteral("三"), NoticeButtons::Ok, QString()}});
    EXPECT_EQ(rec.messages,
              (QStringList{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
    EXPECT_EQ(rec.titles, (QStringList{QString(), QStringLiteral("标题"), QString()}));
    EXPECT_EQ(rec.buttons,
              (QList<Buttons>{Buttons::Ok, Buttons::CancelRetryContinue, Buttons::Ok}));
    showNotices({});
    EXPECT_EQ(rec.messages.size(), 3);
}

TEST(ServicesTest, RecorderRandomValuesThenHalf) {
    RecordingServices rec;
    rec.randomValues = {0.25, 0.0, 0.999};
    EXPECT_EQ(random(), 0.25);
    EXPECT_EQ(random(), 0.0);
    EXPECT_EQ(random(), 0.999);
    EXPECT_EQ(random(), 0.5);
    EXPECT_EQ(random(), 0.5);
    services().reseedRandom();
    services().reseedRandom();
    EXPECT_EQ(rec.reseeds, 2);
}

TEST(ServicesTest, NestedRecordersRestoreTheirPredecessor) {
    Services* const before = &services();
    {
        RecordingServices outer;
        EXPECT_EQ(&services(), &outer);
        {
            RecordingServices inner;
            messageBox(QStringLiteral("inner"));
            EXPECT_EQ(inner.messages, QStringList{QStringLiteral("inner")});
        }
        EXPECT_EQ(&services(), &outer);
        messageBox(QStringLiteral("outer"));
        EXPECT_EQ(outer.messages, QStringList{QStringLiteral("outer")});
    }
    EXPECT_EQ(&services(), before);
}

TEST(ServicesTest, InstallReturnsThePreviousAndNullRestoresTheDefault) {
    Services* const defaults = &services();
    RecordingServices rec;
    EXPECT_EQ(installServices(nullptr), &rec);
    EXPECT_EQ(&services(), defaults);
    EXPECT_EQ(installServices(&rec), nullptr);
    EXPECT_EQ(&services(), &rec);
}

TEST(ServicesTest, HeadlessDefaultWritesMessagesToStandardError) {
    testing::internal::CaptureStderr();
    messageBox(QStringLiteral("lg(x)的x 小于等于0错误。"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, std::string("lg(x)的x 小于等于0错误。\n"));
}

TEST(ServicesTest, HeadlessRandomStaysInTheHalfOpenUnitInterval) {
    Services& s = services();
    s.reseedRandom();
    double lowest = 1, highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const double r = s.random();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    // Spread over the interval, not a constant.
    EXPECT_LT(lowest, 0.01);
    EXPECT_GT(highest, 0.99);
}

}  // namespace
}  // namespace hc::ui
