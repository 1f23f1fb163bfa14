#pragma once
// The main window made, shown and active for a window test, with the helpers most of
// its tests use; the windows a test opened are closed after it.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <memory>

#include "calculator/form1.h"
#include "tests/calculator/qt_app.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc::test {

class ShownForm1 : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp();
        form = std::make_unique<Form1>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        for (const char* name : {"Form2", "Form3", "Form5", "Form6", "Form215"})
            if (QWidget* w = ui::openWindow(QString::fromLatin1(name))) delete w;
        form.reset();
    }

    QPushButton* button(const char* name) const {
        return form->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // Types into the formula box after putting the caret at its end.
    void type(const QString& s) {
        form->text1()->setFocus();
        form->text1()->setSelection(static_cast<int>(form->text1()->text().size()), 0);
        QTest::keyClicks(form->text1(), s);
    }

    std::unique_ptr<Form1> form;
};

}  // namespace hc::test
