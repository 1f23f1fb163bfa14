// A failure escaping a button's handler is logged and shown in a message box, and the
// window goes on: here the print and web page services run out of memory.

#include <gtest/gtest.h>

#include <QPushButton>
#include <new>

#include "calculator/form1.h"
#include "tests/calculator/qt_app.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

class OutOfMemoryServices : public ui::RecordingServices {
public:
    void printWindow(QObject*) override { throw std::bad_alloc(); }
    void openWebPage(const QString&) override { throw std::bad_alloc(); }
};

TEST(GuardedHandlers, AFailingServiceIsReportedOnceAndTheWindowStaysOpen) {
    test::qtApp();
    OutOfMemoryServices rec;
    Form1 form1;
    form1.show();
    using namespace window_ids;
    const std::pair<ui::WindowId, const char*> presses[] = {
        {kForm1, "dcButton4"},     {kForm1, "dcButton8"},      {kForm203, "Command26"},
        {kForm203, "CommandLink"}, {kForm213, "CommandPrint"}, {kForm213, "CommandWeb1"},
        {kForm213, "CommandWeb2"}, {kForm2, "Command1(24)"},   {kForm5, "Command4"},
    };
    for (const auto& [id, button] : presses) {
        SCOPED_TRACE(id.name().toStdString() + " " + button);
        QWidget* w = ui::showWindow(id);
        ASSERT_NE(w, nullptr);
        auto* b = w->findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr);
        rec.messages.clear();
        b->click();
        EXPECT_EQ(rec.messages, QStringList{ui::outOfMemoryNoticeText()});
        EXPECT_EQ(ui::openWindow(id), w);
        EXPECT_TRUE(w->isVisible());
    }
    for (ui::WindowId id : {kForm2, kForm5, kForm203, kForm213}) delete ui::openWindow(id);
}

}  // namespace
}  // namespace hc
