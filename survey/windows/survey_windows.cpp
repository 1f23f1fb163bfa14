#include "survey/windows/survey_windows.h"

#include "survey/windows/form213.h"
#include "survey/windows/form214.h"
#include "survey/windows/form215.h"
#include "survey/windows/form216.h"
#include "survey/windows/single_point_window.h"
#include "ui/tool_registry.h"

namespace hc {

void registerSurveyWindows() {
    using namespace window_ids;
    ui::registerTool({
        .id = kForm213,
        .factory = [] { return new Form213; },
        .menuIndex = 12,
        .menuCaption = QStringLiteral("坐标变换"),
        .buttonNumber = 5,
        .buttonCaption = QStringLiteral("坐标转换"),
        .helpSection = QStringLiteral(
            "【坐标转换】在左边的文本框中输入或粘贴各点的坐标（序号、纬度 X、经度 Y、高程 H，用分隔"
            "符隔开，每点一行），选择中央子午线经度、坐标系统（北京、西安、WGS、2000）和分隔符，按"
            "十个换算按钮之一：经纬度与 1.5 度带、3 度带、6 度带公里网坐标互换，以及不同分带之间换"
            "算。成果写在右边的文本框中，经纬度用度.分秒表示。"),
        .commandLine = QStringLiteral("hechuan-cli gk < 数据：坐标转换"),
    });
    ui::registerTool({
        .id = kForm214,
        .factory = [] { return new Form214; },
        .menuIndex = 13,
        .menuCaption = QStringLiteral("距离和方位"),
        .buttonNumber = 6,
        .buttonCaption = QStringLiteral("距离方位"),
        .helpSection = QStringLiteral(
            "【距离方位】每行输入一个点：点号，X，Y，H（用逗号分隔）。在“用点号”中选一个点作为原"
            "点，按“进行计算”，得到其它各点到原点的平距、水平角、斜距和仰俯角。水平角从真北起顺时针"
            "量，仰俯角从水平面量起，都用度.分秒表示。勾选框决定数据是公里网坐标还是经纬度；经纬度"
            "时平距和水平角是所选椭球面上大地线的长度和方位角。"),
        .commandLine = QStringLiteral("hechuan-cli bearing < 点表：距离方位"),
    });
    ui::registerTool({
        .id = kForm215,
        .factory = [] { return new Form215; },
        .menuIndex = 14,
        .menuCaption = QStringLiteral("计算面积"),
        .moreMenuButtons = {{18, QStringLiteral("平面面积")}},
        .helpSection = QStringLiteral(
            "【计算面积】每行输入一个顶点：点号，X，Y，H（用逗号分隔），按地块边界的顺序排列；空行"
            "或只有地块名的一行开始下一个地块。按“计算面积”，每个地块得到点数、周长、平面面积（平方"
            "米、公顷、亩，1 亩 = 10000/15 平方米）和方向（顺时针或逆时针），平面面积由坐标精确算"
            "出。公里网坐标还给出同一地块在所选椭球面上的面积及两者之差；分带为“自动”时由东坐标的"
            "带号判断 6 度带（13-23）或 3 度带（24-45），也可填写中央子午线（东坐标不带带号）。勾选"
            "“坐标数据为经纬度”时每行为点号，纬度，经度（度.分秒），给出椭球面上的面积和周长。边互"
            "相交叉的地块会给出提示，面积为带符号的代数和。"),
        .commandLine = QStringLiteral("hechuan-cli area < 点表：计算面积"),
    });
    ui::registerTool({
        .id = kForm216,
        .factory = [] { return new Form216; },
        .menuIndex = 15,
        .menuCaption = QStringLiteral("三点定产状"),
        .buttonNumber = 7,
        .buttonCaption = QStringLiteral("面体产状"),
        .helpSection = QStringLiteral(
            "【面体产状】点表的写法同上。选一个起始点，它和下面的两个点确定一个平面，按“进行计算”，"
            "得到平面方程 aX+bY+cZ+d=0 的参数、走向、倾向、倾角、三点间的距离和可信度（三点越接近一"
            "条直线，可信度越低）。"),
        .commandLine = QStringLiteral("hechuan-cli attitude < 点表：面体产状"),
    });
    // Opened from the coordinate conversion window only.
    ui::registerTool({.id = kFormDanLie, .factory = [] { return new SinglePointWindow; }});
}

}  // namespace hc
