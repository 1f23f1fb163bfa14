#include "survey/windows/survey_windows.h"

#include "survey/windows/form213.h"
#include "survey/windows/form214.h"
#include "survey/windows/form215.h"
#include "survey/windows/form216.h"
#include "survey/windows/form217.h"
#include "survey/windows/form218.h"
#include "survey/windows/form_gps.h"
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
    ui::registerTool({
        .id = kForm217,
        .factory = [] { return new Form217; },
        .menuIndex = 16,
        .menuCaption = QStringLiteral("经纬仪测量"),
        .helpSection = QStringLiteral(
            "【经纬仪测量】导线计算。每行输入一个点（按推算顺序）：点号，观测角（度."
            "分秒），到下一点的"
            "边长（米），X，Y（已知点才写坐标）。第一行只有点号和坐标时是后视点；附合导线最后一行只"
            "有点号和坐标时是前视点；闭合导线最后一行再写起点点号和在起点观测的角。选择导线类型（闭"
            "合"
            "、附合、支导线）、左角或右角和等级（角度闭合差容许 ±m″√n 和相对闭合差容许 1/N 可以改"
            "），没有后视点时填起始方位角。按“进行计算”，得到角度闭合差、改正后角度、方位角、坐标增"
            "量、坐标闭合差 "
            "fx、fy、fs、相对闭合差和按边长比例平差后的坐标。闭合差超限时不平差，并指"
            "出可能有错的点或边。附合导线两端都没有定向时按无定向导线计算。按“示例”填入示例数据。类"
            "型选前方交会、侧"
            "方交会或后方交会时，先写已知点（点号，X，Y），再每行写一个待定点（点号，角1，角2）："
            "前方交会为在 A、B 观测的角（A、B、P 逆时针排列），侧方交会为在 A 和在 P 观测的角，后方"
            "交会为在 P 从 A 到 B、从 B 到 C 顺时针量的角；交会角太小或太大、后方交会的点靠近危险圆"
            "时提示图形弱。"),
        .commandLine = QStringLiteral("hechuan-cli traverse < 导线数据：导线计算；hechuan-cli "
                                      "intersect < 交会数据：交会计算"),
    });
    ui::registerTool({
        .id = kForm218,
        .factory = [] { return new Form218; },
        .menuIndex = 17,
        .menuCaption = QStringLiteral("测距仪测量"),
        .helpSection = QStringLiteral(
            "【测距仪测量】每行输入一条测线：名称，斜距（米），竖直角（度."
            "分秒，向上为正；选“天顶距”"
            "时为天顶距），仪器高，觇标高，对向观测时再接返测斜距、返测竖直角、返测仪器高、返测觇标"
            "高。按“进行计算”，得到平距和高差（三角高程，含地球曲率和大气折光，折光系数 k 默认 "
            "0.14），对向观测的平均值和较差；填大气改正 ppm "
            "时先改正斜距；填平均高程时平距归算到椭球"
            "面；填测线中点的公里网坐标 X、Y（带带号）时再按该点的长度比归算到高斯平面。"),
        .commandLine = QStringLiteral("hechuan-cli reduce < 观测数据：测距归算"),
    });
    // Opened from the coordinate conversion window only.
    ui::registerTool({.id = kFormDanLie, .factory = [] { return new SinglePointWindow; }});
    ui::registerTool({
        .id = kFormGps,
        .factory = [] { return new FormGps; },
        .helpSection = QStringLiteral("【GPS坐标转换】在坐标转换窗口中按“GPS坐标转换”打开。"
                                      "用于 WGS-84、CGCS2000 与北京54、西安80 "
                                      "之间的换算。选好原坐标系和目标坐标系（椭球和经纬度或 1.5"
                                      "、3、6 度带公里网）。把几个两边都已知的公共点分别写入左右"
                                      "两个框（每行：点号，X，Y，H），选择模型——七参数（布尔莎"
                                      "，位置矢量法或坐标框架法，两者旋转角符号相反）、三参数或四参"
                                      "数（公里网平面变换，可对高程异常做平面或二次曲面拟合）——按"
                                      "“求转换参数”，得到参数、单位权中误差和每个公共点的残差（北"
                                      "、东、高，米），残差超过三倍中误差的点标 *。七参数至少 3"
                                      " 个公共点，四参数至少 2 个，三参数至少 1 个。参数行可"
                                      "以保存到文件、从文件读取，也可以直接输入。在“待转换的点”中"
                                      "写入点表，按“原坐标系 → 目标坐标系”转换，或按“目标坐标"
                                      "系 → 原坐标系”用逆变换换回。"),
        .commandLine = QStringLiteral("hechuan-cli datum --fit|--params ... < 点表：GPS坐标转换"),
    });
}

}  // namespace hc
