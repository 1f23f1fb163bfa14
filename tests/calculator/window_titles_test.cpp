// Every window's title reads exactly as the window sets it: the application name
// stays with the desktop and the task bar instead of being appended to titles.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "calculator/form1.h"
#include "calculator/qt_translations.h"
#include "calculator/windows.h"
#include "tests/calculator/print.h"
#include "tests/calculator/qt_app.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

TEST(WindowTitles, NoDisplayNameIsAppendedToTitles) {
    test::qtApp();
    setUpApplicationLook();
    EXPECT_EQ(QGuiApplication::applicationName(), u("禾川计算器"));
    EXPECT_EQ(QGuiApplication::desktopFileName(), "hechuan");
    // Qt appends a display name to every title only when one was set; without one
    // the display name follows the application name.
    QGuiApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    setUpApplicationLook();
}

// Each window the calculator can open, with its title where it is fixed (nullptr:
// any title but an empty one). Windows of tool libraries not yet registered are
// skipped, so the table covers them as they land.
TEST(WindowTitles, EveryRegisteredWindowHasItsTitle) {
    test::qtApp();
    setUpApplicationLook();
    ui::RecordingServices rec;
    auto form1 = std::make_unique<Form1>();
    EXPECT_EQ(form1->windowTitle(), u("禾川计算器"));
    const std::pair<const char*, const char*> windows[] = {
        {"Form2", nullptr},
        {"Form3", "修改变量"},
        {"Form5", "禾川计算器 --- 帮助文件"},
        {"Form6", "测试漂亮的多功能按钮"},
        {"Form215", "计算面积"},
        {"Form201", "数理统计"},
        {"Form202", nullptr},
        {"Form203", "进制换算"},
        {"Form210", nullptr},
        {"Form213", "坐标换算"},
        {"Form214", "距离方位"},
        {"Form216", "面体的产状"},
        {"Form205", "矩阵计算"},
        {"Form207", "解多元方程"},
    };
    int shown = 0;
    for (const auto& [name, title] : windows) {
        const QString form = QString::fromLatin1(name);
        if (!ui::isWindowRegistered(form)) continue;
        QWidget* w = ui::showWindow(form);
        ASSERT_NE(w, nullptr) << name;
        ++shown;
        if (title) {
            EXPECT_EQ(w->windowTitle(), u(title)) << name;
        } else {
            EXPECT_FALSE(w->windowTitle().trimmed().isEmpty()) << name;
        }
        delete w;
    }
    EXPECT_GE(shown, 4);  // Form2, Form3, Form5 and Form6 at least
}

TEST(QtTranslations, ChineseAndUnsetLocalesGetSimplifiedChinese) {
    EXPECT_EQ(qtTranslationName(QLocale(QLocale::Chinese, QLocale::China)), "qtbase_zh_CN");
    EXPECT_EQ(qtTranslationName(QLocale(QLocale::Chinese, QLocale::Taiwan)), "qtbase_zh_CN");
    EXPECT_EQ(qtTranslationName(QLocale::c()), "qtbase_zh_CN");
    EXPECT_EQ(qtTranslationName(QLocale(QLocale::German, QLocale::Germany)), "qtbase_de_DE");
}

TEST(QtTranslations, QtsOwnButtonsReadChinese) {
    QCoreApplication& app = test::qtApp();
    ASSERT_TRUE(installQtTranslations(app, QLocale::c()))
        << "qt6-translations-l10n is missing (scripts/deps.sh)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), u("确定"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u("取消"));
    EXPECT_FALSE(installQtTranslations(app, QLocale(QLocale::Swahili, QLocale::Kenya)));
}

}  // namespace
}  // namespace hc
