#include "calculator/windows.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "survey/windows/survey_windows.h"
#include "tools/windows/tools_windows.h"
#include "ui/tool_registry.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {

// The link buttons open the manual shipped with the program.
QString homeUrl() { return ui::documentationUrl(); }
QString questionBankUrl() { return ui::documentationUrl(QStringLiteral("tools")); }
QString manualUrl() { return ui::documentationUrl(QStringLiteral("calculator")); }
QString siteUrl(int n) {
    return ui::documentationUrl(n == 1 ? QStringLiteral("survey") : QStringLiteral("about"));
}

void registerCalculatorWindows() {
    using namespace window_ids;
    // The main window is adopted by itself; its row only names it for the menu.
    ui::registerTool({.id = kForm1, .menuIndex = 5, .menuCaption = QStringLiteral("返回 主程序")});
    ui::registerTool({.id = kForm2, .factory = [] { return new Form2; }});
    ui::registerTool({.id = kForm5,
                      .factory = [] { return new Form5; },
                      .menuIndex = 65,
                      .menuCaption = QStringLiteral("帮助")});
    ui::registerTool({.id = kForm6,
                      .factory = [] { return new Form6; },
                      .menuIndex = 30,
                      .menuCaption = QStringLiteral("1")});
    registerSurveyWindows();
    registerToolsWindows();
}

void setUpApplicationLook() {
    // The name for the desktop and the task bar. A display name would be appended to
    // every window title, which must read exactly as the window sets it.
    QApplication::setApplicationName(QStringLiteral("禾川计算器"));
    QGuiApplication::setDesktopFileName(QStringLiteral("hechuan"));
    QApplication::setFont(ui::cjkFont(10));
}

namespace {

// Captions of the planned modules and the site links; a registered window with the
// same index takes the place of a planned module.
struct MenuEntry {
    int index;
    const char16_t* caption;
};

const MenuEntry kMenu[] = {
    {3, u"误差计算"},    {4, u"矩阵计算"},  {6, u"解多元方程"}, {7, u"表达式分解"},
    {8, u"线性回归"},    {10, u"微分计算"}, {11, u"积分计算"},  {16, u"经纬仪测量"},
    {17, u"测距仪测量"}, {18, u"平面面积"}, {19, u"曲面面积"},  {20, u"物体表面积"},
    {21, u"物体的体积"}, {22, u"。。。"},   {23, u"。。。"},    {24, u"禾川主页"},
    {25, u"禾川题库"},   {26, u"使用说明"}, {27, u"最新版本"},  {28, u"测量论坛"},
    {29, u"联系作者"},
};

bool isSiteLink(int index) { return index >= 24 && index <= 29; }

QString plannedCaption(int index) {
    for (const MenuEntry& e : kMenu)
        if (e.index == index) return QString::fromUtf16(e.caption);
    if (index >= 31 && index <= 35) return QString::number(index - 29);
    static const char16_t* groups[] = {u"物理", u"化学", u"生活", u"游戏"};
    if (index >= 36 && index <= 59)
        return QString::fromUtf16(groups[(index - 36) / 6]) + QString::number((index - 36) % 6 + 1);
    if (index >= 60 && index <= 63) return QStringLiteral("动脑筋") + QString::number(index - 59);
    return QString();
}

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm2.name());
    setWindowTitle(QStringLiteral("禾川计算器 --- 功能模块"));
    auto* grid = new QGridLayout(this);
    grid->setSpacing(4);
    int cell = 0;
    for (int index = 0; index <= 65; ++index) {
        if (index == 64) continue;
        const ui::ToolWindow* tool = isSiteLink(index) ? nullptr : ui::toolAtMenuIndex(index);
        auto* b = ui::namedButton(this, QStringLiteral("Command1(%1)").arg(index),
                                  tool ? ui::menuCaptionAt(*tool, index) : plannedCaption(index));
        b->setProperty("index", index);
        b->setMinimumSize(96, 30);
        if (isSiteLink(index)) {
            const QString url = index == 24   ? homeUrl()
                                : index == 25 ? questionBankUrl()
                                : index == 26 ? manualUrl()
                                : index == 27 ? homeUrl()
                                              : siteUrl(index - 27);
            connect(b, &QPushButton::clicked, this,
                    ui::guardedSlot([url] { ui::services().openWebPage(url); }));
        } else if (tool) {
            const ui::WindowId id = tool->id;
            connect(b, &QPushButton::clicked, this, ui::guardedSlot([id] { ui::showWindow(id); }));
        }
        grid->addWidget(b, cell / 6, cell % 6);
        ++cell;
    }
}

QString helpText() {
    QString text = QStringLiteral(
        "禾川计算器 使用说明\r\n"
        "\r\n"
        "一、科学计算\r\n"
        "　　启动窗口就是科学计算器。算式可以直接用键盘输入，也可以用下面的按键输入；算式中可以使用"
        "汉字（如“加”“减”“乘以”“除”、中文括号和中文标点、全角数字），可以使用函数、变量，算式可以很"
        "长。"
        "输入完毕后按“计 算”或在算式框中按回车键（Enter，小键盘的回车键也可以），"
        "结果的小数点总是对齐在同一列上，便于比较。"
        "长算式需要分行书写时，按 Shift+回车 换行。"
        "按 Ctrl+C 复制计算结果（不带对齐的空格和填充的“_”）；在算式框中选定了文字时，"
        "Ctrl+C 复制选定的文字。\r\n"
        "\r\n"
        "二、计算精度\r\n"
        "　　计算结果最多精确到小数点后28位，但整数位与小数位合计最多29位有效数字，超出部分作舍位处"
        "理。"
        "显示的小数位数可以在“小数位数”下拉列表中选择（0 - 28位）。函数计算后有效数字可能减少，"
        "这时结果前标出“约数”，状态栏说明从第几位起不可靠。\r\n"
        "\r\n"
        "三、角度单位\r\n"
        "　　按角度单位按钮可在三种单位间循环切换：\r\n"
        "　　度分秒.5959：例如 90.5959 表示90度59分59秒，89.5959999 就略小于一个直角；\r\n"
        "　　百分度.9999：用360度代表一周，例如 90.9999 表示90.9999度；\r\n"
        "　　弧度角：用 π 代表180度，π/2 即为直角。\r\n"
        "　　三角函数按当前单位读取角度，反三角函数的结果也用当前单位给出。\r\n"
        "\r\n"
        "四、变量与算式保存\r\n"
        "　　共有 r、s、t、u、v、w、x、y、z 九个内存变量，按“修改变量”可以修改它们的值，"
        "并把它们编入算式参加计算。常用的算式可以保存在文本文件中，用时复制、粘贴到算式框即可。\r\n"
        "\r\n"
        "五、算式记忆\r\n"
        "　　每按一次“清 零”，前一个算式都被记忆下来；按“<--”和“-->”可以调出以前和以后的算式，"
        "便于检查和重复计算。启动时已存有18个示例算式，调出示例时结果框显示其参考结果。\r\n"
        "\r\n"
        "六、功能模块\r\n"
        "　　窗口上方的按钮打开数理统计、角度变换、进制换算、坐标转换、距离方位、面体产状等功能模块"
        "；坐标转换和进制换算窗口中的“其它功能”按钮打开功能模块菜单，菜单中列出全部模块，"
        "“返回 主程序”回到计算器。菜单中尚在计划中的模块按下后没有反应，"
        "新的版本将陆续增加更多的功能模块。"
        "每个窗口只打开一个，再按一次按钮只是把它调到前面，内容不变；"
        "关闭窗口后再打开，窗口从头开始。\r\n"
        "\r\n"
        "七、注意\r\n"
        "　　计算中的舍入以及大数与很小的数相加减时小数被“吃掉”等原因，都可能造成计算误差。"
        "重要的计算请仔细核对计算结果。\r\n"
        "\r\n"
        "八、各功能模块的用法\r\n");
    for (const ui::ToolWindow& tool : ui::tools())
        if (!tool.helpSection.isEmpty()) text += tool.helpSection + QStringLiteral("\r\n");
    text += QStringLiteral(
        "【修改变量】修改 r … z 九个变量的值；保存后，计算器的算式就用新的值计算。\r\n"
        "\r\n"
        "九、键盘\r\n"
        "　　Tab 键按窗口中控件的排列顺序，从上到下、从左到右移动；Shift+Tab 反向移动。"
        "所有窗口的文本框中 Tab 键和 Ctrl+Tab 都移到下一个控件，不输入制表符；"
        "用制表符分隔的数据（例如从电子表格复制的数据）可以直接粘贴。"
        "窗口改写了输入框的内容时，按 Ctrl+Z 可以恢复原来输入的内容。"
        "在各功能窗口中按 Esc 键不会清除或改变任何内容。\r\n"
        "\r\n"
        "十、命令行程序 hechuan-cli\r\n"
        "　　hechuan-cli "
        "在终端或批处理中完成与各窗口相同的计算，输出的内容与窗口的结果框相同：\r\n");
    QStringList commands = {QStringLiteral("hechuan-cli eval 算式…：计算算式（与“计 算”相同）")};
    for (const ui::ToolWindow& tool : ui::tools())
        if (!tool.commandLine.isEmpty()) commands << tool.commandLine;
    for (qsizetype i = 0; i < commands.size(); ++i)
        text += QStringLiteral("　　") + commands[i] +
                (i + 1 < commands.size() ? QStringLiteral("；\r\n") : QStringLiteral("。\r\n"));
    return text + QStringLiteral(
                      "　　没有给出数值时从标准输入逐行读取。hechuan-cli --help 列出全部子命令，"
                      "hechuan-cli <子命令> --help 列出该子命令的选项。");
}

Form5::Form5(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm5.name());
    setWindowTitle(QStringLiteral("禾川计算器 --- 帮助文件"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("Text1"));
    text->setReadOnly(true);
    text->setPlainText(QString(helpText()).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    text->setMinimumSize(620, 420);
    layout->addWidget(text);
    auto* row = new QHBoxLayout;
    auto site = [this, row](const QString& name, const QString& caption, const QString& url) {
        QPushButton* b = ui::namedButton(this, name, caption);
        connect(b, &QPushButton::clicked, this,
                ui::guardedSlot([url] { ui::services().openWebPage(url); }));
        row->addWidget(b);
        return b;
    };
    site(QStringLiteral("Command1"), QStringLiteral("禾川主页"), homeUrl());
    site(QStringLiteral("Command3"), QStringLiteral("使用说明"), manualUrl());
    site(QStringLiteral("Command4"), QStringLiteral("禾川.中国"), siteUrl(4))
        ->setToolTip(QStringLiteral("你的浏览器安装了中文网址，才可正确访问该页。"));
    site(QStringLiteral("Command5"), QStringLiteral("禾川题库"), questionBankUrl());
    row->addStretch(1);
    QPushButton* back =
        ui::namedButton(this, QStringLiteral("Command6"), QStringLiteral("返回  主程序"));
    connect(back, &QPushButton::clicked, this,
            ui::guardedSlot([] { ui::showWindow(window_ids::kForm1); }));
    row->addWidget(back);
    layout->addLayout(row);
}

Form6::Form6(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm6.name());
    setWindowTitle(QStringLiteral("测试漂亮的多功能按钮"));
    auto* grid = new QGridLayout(this);
    static const QColor colours[] = {{255, 192, 128}, {255, 192, 255}, {192, 255, 255},
                                     {255, 192, 192}, {192, 255, 192}, {192, 192, 255}};
    for (int i = 0; i < 12; ++i) {
        QPushButton* b = ui::namedButton(this, QStringLiteral("dcButton%1").arg(i + 1),
                                         QStringLiteral("按钮 %1").arg(i + 1));
        b->setMinimumSize(96, 40);
        ui::setBackgroundColour(b, colours[i % 6]);
        grid->addWidget(b, i / 4, i % 4);
    }
}

}  // namespace hc
