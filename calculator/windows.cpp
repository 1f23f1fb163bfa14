#include "calculator/windows.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "survey/windows/survey_windows.h"
#include "tools/windows/tools_windows.h"
#include "ui/widget_services.h"

namespace hc {

// The link buttons open the manual shipped with the program.
QString homeUrl() { return ui::documentationUrl(); }
QString questionBankUrl() { return ui::documentationUrl(QStringLiteral("tools")); }
QString manualUrl() { return ui::documentationUrl(QStringLiteral("calculator")); }
QString siteUrl(int n) {
    return ui::documentationUrl(n == 1 ? QStringLiteral("survey") : QStringLiteral("about"));
}

void registerCalculatorWindows() {
    ui::registerWindow(QStringLiteral("Form2"), [] { return new Form2; });
    ui::registerWindow(QStringLiteral("Form5"), [] { return new Form5; });
    ui::registerWindow(QStringLiteral("Form6"), [] { return new Form6; });
    ui::registerWindow(QStringLiteral("Form215"), [] { return new Form215; });
    registerSurveyWindows();
    registerToolsWindows();
}

void setUpApplicationLook() {
    // The name for the desktop and the task bar. A display name would be appended to
    // every window title, which must read exactly as the window sets it.
    QApplication::setApplicationName(QStringLiteral("禾川计算器"));
    QGuiApplication::setDesktopFileName(QStringLiteral("hechuan"));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    QApplication::setFont(font);
}

namespace {

// Index, caption and the window it opens ("" for none); site links are handled apart.
struct MenuEntry {
    int index;
    const char16_t* caption;
    const char16_t* window;
};

const MenuEntry kMenu[] = {
    {0, u"数理统计", u"Form201"},  {1, u"角度转换", u"Form202"},
    {2, u"进制换算", u"Form203"},  {3, u"误差计算", u""},
    {4, u"矩阵计算", u""},         {5, u"返回 主程序", u"Form1"},
    {6, u"解多元方程", u""},       {7, u"表达式分解", u""},
    {8, u"线性回归", u""},         {9, u"数的分解", u"Form210"},
    {10, u"微分计算", u""},        {11, u"积分计算", u""},
    {12, u"坐标变换", u"Form213"}, {13, u"距离和方位", u"Form214"},
    {14, u"计算面积", u"Form215"}, {15, u"三点定产状", u"Form216"},
    {16, u"经纬仪测量", u""},      {17, u"测距仪测量", u""},
    {18, u"平面面积", u""},        {19, u"曲面面积", u""},
    {20, u"物体表面积", u""},      {21, u"物体的体积", u""},
    {22, u"。。。", u""},          {23, u"。。。", u""},
    {24, u"禾川主页", u""},        {25, u"禾川题库", u""},
    {26, u"使用说明", u""},        {27, u"最新版本", u""},
    {28, u"测量论坛", u""},        {29, u"联系作者", u""},
    {30, u"1", u"Form6"},          {65, u"帮助", u"Form5"},
};

QString menuCaption(int index, QString& window) {
    for (const MenuEntry& e : kMenu) {
        if (e.index == index) {
            window = QString::fromUtf16(e.window);
            return QString::fromUtf16(e.caption);
        }
    }
    window.clear();
    if (index >= 31 && index <= 35) return QString::number(index - 29);
    static const char16_t* groups[] = {u"物理", u"化学", u"生活", u"游戏"};
    if (index >= 36 && index <= 59)
        return QString::fromUtf16(groups[(index - 36) / 6]) + QString::number((index - 36) % 6 + 1);
    if (index >= 60 && index <= 63) return QStringLiteral("动脑筋") + QString::number(index - 59);
    return QString();
}

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("禾川计算器 --- 功能模块"));
    auto* grid = new QGridLayout(this);
    grid->setSpacing(4);
    int cell = 0;
    for (int index = 0; index <= 65; ++index) {
        if (index == 64) continue;
        QString window;
        const QString caption = menuCaption(index, window);
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QStringLiteral("Command1(%1)").arg(index));
        b->setProperty("index", index);
        b->setMinimumSize(96, 30);
        if (index >= 24 && index <= 29) {
            const QString url = index == 24   ? homeUrl()
                                : index == 25 ? questionBankUrl()
                                : index == 26 ? manualUrl()
                                : index == 27 ? homeUrl()
                                              : siteUrl(index - 27);
            connect(b, &QPushButton::clicked, this, [url] { ui::services().openWebPage(url); });
        } else if (!window.isEmpty()) {
            connect(b, &QPushButton::clicked, this, [window] { ui::showWindow(window); });
        }
        grid->addWidget(b, cell / 6, cell % 6);
        ++cell;
    }
}

QString helpText() {
    return QStringLiteral(
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
        "八、各功能模块的用法\r\n"
        "【数理统计】在数据框中每行输入一组数据，数值之间用分隔符（默认“*”）隔开，用回车结束一行；"
        "每行前面几列是序号或名称时，在“前 n 列为序号”中选择列数。按“统 计”后数据被整理对齐，"
        "下面的表格给出前五列数字各自的频数、最小值、最大值、平均值、合计数、均方差、方差和变异系数"
        "（“方差n”“变异 系数n”按 n 而不是 n-1 计算）。“保 存”“导 入”把数据存为文本文件或从文本"
        "文件读入。\r\n"
        "【角度变换】在“原始角度数”框中输入一个角度，按六个按钮之一，在弧度、百分度和度分秒之间换算"
        "；"
        "它与计算器的角度单位设置无关。\r\n"
        "【进制换算】选择二进制、八进制、十进制或十六进制，用右边的键盘或电脑键盘输入数据 1 和数据 "
        "2，"
        "选择加、减、乘、除、幂、余或与、或、非、异或、与非、或非，按“运算”，结果用同一进制显示。"
        "切换进制时两个数据一起换算。逻辑运算先对绝对值取整，再逐位进行，符号作为附加的一位。\r\n"
        "【数的分解】（在功能模块菜单中）输入一个数，按“运  行”，得到它的整数部分和小数部分。\r\n"
        "【坐标转换】在左边的文本框中输入或粘贴各点的坐标（序号、纬度 X、经度 Y、高程 H，"
        "用分隔符隔开，每点一行），选择中央子午线经度、坐标系统（北京、西安、WGS、2000）和分隔符，"
        "按十个换算按钮之一：经纬度与 1.5 度带、3 度带、6 "
        "度带公里网坐标互换，以及不同分带之间换算。"
        "成果写在右边的文本框中，经纬度用度.分秒表示。\r\n"
        "【距离方位】每行输入一个点：点号，X，Y，H（用逗号分隔）。在“用点号”中选一个点作为原点，"
        "按“进行计算”，得到其它各点到原点的平距、水平角、斜距和仰俯角。水平角从真北起顺时针量，"
        "仰俯角从水平面量起，都用度.分秒表示。勾选框决定数据是公里网坐标还是经纬度；"
        "经纬度时平距和水平角是所选椭球面上大地线的长度和方位角。\r\n"
        "【面体产状】点表的写法同上。选一个起始点，它和下面的两个点确定一个平面，按“进行计算”，"
        "得到平面方程 aX+bY+cZ+d=0 的参数、走向、倾向、倾角、三点间的距离和可信度"
        "（三点越接近一条直线，可信度越低）。\r\n"
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
        "　　hechuan-cli 在终端或批处理中完成与各窗口相同的计算，输出的内容与窗口的结果框相同：\r\n"
        "　　hechuan-cli eval 算式…：计算算式（与“计 算”相同）；\r\n"
        "　　hechuan-cli stats < 数据：数理统计；\r\n"
        "　　hechuan-cli angle 角度…：角度变换；\r\n"
        "　　hechuan-cli base 数值…、hechuan-cli logic 数据1 运算 数据2：进制换算和逻辑运算；\r\n"
        "　　hechuan-cli split 数值…：数的分解；\r\n"
        "　　hechuan-cli gk < 数据：坐标转换；\r\n"
        "　　hechuan-cli bearing < 点表：距离方位；\r\n"
        "　　hechuan-cli attitude < 点表：面体产状。\r\n"
        "　　没有给出数值时从标准输入逐行读取。hechuan-cli --help 列出全部子命令，"
        "hechuan-cli <子命令> --help 列出该子命令的选项。");
}

Form5::Form5(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form5"));
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
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [url] { ui::services().openWebPage(url); });
        row->addWidget(b);
        return b;
    };
    site(QStringLiteral("Command1"), QStringLiteral("禾川主页"), homeUrl());
    site(QStringLiteral("Command3"), QStringLiteral("使用说明"), manualUrl());
    site(QStringLiteral("Command4"), QStringLiteral("禾川.中国"), siteUrl(4))
        ->setToolTip(QStringLiteral("你的浏览器安装了中文网址，才可正确访问该页。"));
    site(QStringLiteral("Command5"), QStringLiteral("禾川题库"), questionBankUrl());
    row->addStretch(1);
    auto* back = new QPushButton(QStringLiteral("返回  主程序"), this);
    back->setObjectName(QStringLiteral("Command6"));
    connect(back, &QPushButton::clicked, this, [] { ui::showWindow(QStringLiteral("Form1")); });
    row->addWidget(back);
    layout->addLayout(row);
}

Form215::Form215(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form215"));
    setWindowTitle(QStringLiteral("计算面积"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("欢迎光临"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPointSize(f.pointSize() + 10);
    label->setFont(f);
    label->setMinimumSize(320, 160);
    layout->addWidget(label);
}

Form6::Form6(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("测试漂亮的多功能按钮"));
    auto* grid = new QGridLayout(this);
    static const QColor colours[] = {{255, 192, 128}, {255, 192, 255}, {192, 255, 255},
                                     {255, 192, 192}, {192, 255, 192}, {192, 192, 255}};
    for (int i = 0; i < 12; ++i) {
        auto* b = new QPushButton(QStringLiteral("按钮 %1").arg(i + 1), this);
        b->setObjectName(QStringLiteral("dcButton%1").arg(i + 1));
        b->setMinimumSize(96, 40);
        ui::setBackgroundColour(b, colours[i % 6]);
        grid->addWidget(b, i / 4, i % 4);
    }
}

}  // namespace hc
