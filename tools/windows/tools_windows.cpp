#include "tools/windows/tools_windows.h"

#include "tools/windows/calculus_window.h"
#include "tools/windows/form201.h"
#include "tools/windows/form202.h"
#include "tools/windows/form203.h"
#include "tools/windows/form205.h"
#include "tools/windows/form207.h"
#include "tools/windows/form209.h"
#include "tools/windows/form210.h"
#include "ui/tool_registry.h"

namespace hc {

void registerToolsWindows() {
    using namespace window_ids;
    ui::registerTool({
        .id = kForm201,
        .factory = [] { return new Form201; },
        .menuIndex = 0,
        .menuCaption = QStringLiteral("数理统计"),
        .buttonNumber = 1,
        .buttonCaption = QStringLiteral("数理统计"),
        .helpSection = QStringLiteral(
            "【数理统计】在数据框中每行输入一组数据，数值之间用分隔符（默认“*”）隔开，用回车结束一"
            "行；每行前面几列是序号或名称时，在“前 n 列为序号”中选择列数。按“统 计”后数据被整理对"
            "齐，下面的表格给出前五列数字各自的频数、最小值、最大值、平均值、合计数、均方差、方差和"
            "变异系数（“方差n”“变异 系数n”按 n 而不是 n-1 计算）。“保 存”“导 入”把数据存为文本文"
            "件或从文本文件读入。“直方图”画出所选一列数字的直方图（分组数可调，自动时按 "
            "Freedman–Diaconis 或 Sturges 规则，图上注明），可存为 PNG、SVG 或打印。"),
        .commandLine = QStringLiteral("hechuan-cli stats [--svg 文件] < 数据：数理统计"),
    });
    ui::registerTool({
        .id = kForm202,
        .factory = [] { return new Form202; },
        .menuIndex = 1,
        .menuCaption = QStringLiteral("角度转换"),
        .buttonNumber = 2,
        .buttonCaption = QStringLiteral("角度变换"),
        .helpSection = QStringLiteral(
            "【角度变换】在“原始角度数”框中输入一个角度，按六个按钮之一，在弧度、百分度和度分秒之"
            "间换算；它与计算器的角度单位设置无关。"),
        .commandLine = QStringLiteral("hechuan-cli angle 角度…：角度变换"),
    });
    ui::registerTool({
        .id = kForm203,
        .factory = [] { return new Form203; },
        .menuIndex = 2,
        .menuCaption = QStringLiteral("进制换算"),
        .buttonNumber = 3,
        .buttonCaption = QStringLiteral("进制换算"),
        .helpSection = QStringLiteral(
            "【进制换算】选择二进制、八进制、十进制或十六进制，用右边的键盘或电脑键盘输入数据 1 和"
            "数据 2，选择加、减、乘、除、幂、余或与、或、非、异或、与非、或非，按“运算”，结果用同"
            "一进制显示。切换进制时两个数据一起换算。逻辑运算先对绝对值取整，再逐位进行，符号作为"
            "附加的一位。"),
        .commandLine = QStringLiteral(
            "hechuan-cli base 数值…、hechuan-cli logic 数据1 运算 数据2：进制换算和逻辑运算"),
    });
    ui::registerTool({
        .id = kForm209,
        .factory = [] { return new Form209; },
        .menuIndex = 8,
        .menuCaption = QStringLiteral("线性回归"),
        .helpSection = QStringLiteral(
            "【线性回归】（在功能模块菜单中）在数据框中每行输入一组数据，数值之间用分隔符隔开；"
            "填写因变量所在的“y 列”和自变量所在的“x 列”（多元回归时用逗号隔开，最多 16 列），"
            "选择多项式次数、是否含常数项和结果的位数，按“回 归”。结果框给出各系数及其标准误差"
            "和 t 值、残差标准差、R²、调整 R² 和方差分析表，可选列出每行的拟合值和残差。全部用"
            "精确的分数计算，只在最后开平方并舍入一次；计算时按 Esc 停止。“散点图”画出数据点与"
            "拟合曲线以及残差图，可存为 PNG、SVG 或打印。"),
        .commandLine =
            QStringLiteral("hechuan-cli regress --y N --x N [--svg 文件] < 数据：线性回归"),
    });
    ui::registerTool({
        .id = kForm210,
        .factory = [] { return new Form210; },
        .menuIndex = 9,
        .menuCaption = QStringLiteral("数的分解"),
        .helpSection = QStringLiteral(
            "【数的分解】（在功能模块菜单中）输入一个数，按“运  行”，得到它的整数部分和小数部分。"),
        .commandLine = QStringLiteral("hechuan-cli split 数值…：数的分解"),
    });
    ui::registerTool({
        .id = kForm205,
        .factory = [] { return new Form205; },
        .menuIndex = 4,
        .menuCaption = QStringLiteral("矩阵计算"),
        .helpSection = QStringLiteral(
            "【矩阵计算】（在功能模块菜单中）在矩阵 A、B 框中每行输入矩阵的一行，单元格之间用制表"
            "符、逗号、分号或空格隔开，单元格可以是计算器的算式（1/3、sin(30)、π/2、r…z），三角函数"
            "按所选角度单位计算。按钮给出 A+B、A−B、A×B、k·A、转置、行列式、逆矩阵、秩、迹、A 的 n "
            "次幂（n 为负数时要求 A "
            "可逆）和行最简形。计算用精确的有理数进行：结果按所选小数位数四舍"
            "五入显示，勾选“分数”时写成精确的分数（如 -7/12）；三角函数、开方等不能精确表示的数按 "
            "28 "
            "位小数参与计算，结果下面会注明。计算时间长时按 Esc 键取消。"),
        .commandLine =
            QStringLiteral("hechuan-cli matrix 运算 [--fractions] A文件 [B文件|k|n]：矩阵计算"),
    });
    ui::registerTool({
        .id = kForm207,
        .factory = [] { return new Form207; },
        .menuIndex = 6,
        .menuCaption = QStringLiteral("解多元方程"),
        .helpSection = QStringLiteral(
            "【解多元方程】（在功能模块菜单中）每行输入一个一次方程，未知数写作 x1、x2 … 或 r … z"
            "（如 2x1+3x2=5），系数可以是算式；也可以每行输入增广矩阵的一行，最后一个数是等号右边"
            "的常数。按“解 方 程”得到唯一解；或者“无解”，并给出相加后得到矛盾（0 = 非零数）的方程"
            "组合；或者无穷多解，用任意数 t1、t2 … 写出通解。计算用精确的有理数进行，“分数”、小数"
            "位数和角度单位与矩阵计算相同。"),
        .commandLine = QStringLiteral("hechuan-cli solve [--fractions] < 方程组：解多元方程"),
    });
    ui::registerTool({
        .id = kForm204,
        .factory = [] { return new CalculusWindow(CalculusWindow::Mode::Propagation); },
        .menuIndex = 3,
        .menuCaption = QStringLiteral("误差计算"),
        .helpSection = QStringLiteral(
            "【误差计算】在“函数”框中输入含变量 r … z 的算式，在下面的框中每行写一个变量的值和中误"
            "差，如“r=100±0.01”（“±”也可写作“+-”），两个变量相关时另起一行写“r,s=相关系数”。按"
            "“计  算”，按一阶误差传播公式给出函数值、中误差 m，以及各变量的偏导数、影响和占 m² 的比"
            "例。偏导数用中心差商的理查森外推求得；角度单位按窗口中的选择。"),
        .commandLine = QStringLiteral("hechuan-cli propagate 函数 --var r=值±中误差…：误差计算"),
    });
    ui::registerTool({
        .id = kForm211,
        .factory = [] { return new CalculusWindow(CalculusWindow::Mode::DerivativeAndRoot); },
        .menuIndex = 10,
        .menuCaption = QStringLiteral("微分计算"),
        .helpSection = QStringLiteral(
            "【微分计算】在“函数”框中输入以 x 为自变量的算式。填写求导点 x0，按“一阶导数”或“二阶导"
            "数”，用中心差商的理查森外推求导数并给出误差估计；填写区间 a、b，按“求  根”，用布伦特法"
            "求 f(x) = 0 在区间内的一个根，f(a) 与 f(b) 须异号。计算时间较长时按 Esc 键停止。"),
        .commandLine =
            QStringLiteral("hechuan-cli derive 函数 X0、hechuan-cli root 函数 A B：导数和求根"),
    });
    ui::registerTool({
        .id = kForm212,
        .factory = [] { return new CalculusWindow(CalculusWindow::Mode::Integral); },
        .menuIndex = 11,
        .menuCaption = QStringLiteral("积分计算"),
        .helpSection = QStringLiteral(
            "【积分计算】在“函数”框中输入以 x 为自变量的算式，填写下限和上限（可以是算式，也可写"
            "“∞”“inf”“-∞”），按“积  分”。用双指数积分法在 28 位小数中计算，给出积分值、误差估计"
            "和有效数字；端点处的奇点（如 ln(x)、x^(-1/2) 在 0 "
            "处）可以计算。用到对数、反三角函数时结果"
            "最多 15 位有效数字。计算时间较长时按 Esc 键停止。"),
        .commandLine = QStringLiteral("hechuan-cli integrate 函数 下限 上限：积分计算"),
    });
}

}  // namespace hc
