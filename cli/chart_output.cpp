#include "cli/chart_output.h"

#include <QFile>

#include "cli/command_line.h"

namespace hc::cli {

bool writeChartSvg(const QString& path, const ChartPicture& picture, int panelHeight,
                   std::FILE* err) {
    const QByteArray bytes = chartSvg(picture.charts, kChartSvgWidth, panelHeight).toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        writeText(err, QStringLiteral("无法写入图表文件“%1”：%2\n").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace hc::cli
