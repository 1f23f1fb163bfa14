#include "survey/windows/survey_windows.h"

#include "survey/windows/form213.h"
#include "survey/windows/form214.h"
#include "survey/windows/form216.h"
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
