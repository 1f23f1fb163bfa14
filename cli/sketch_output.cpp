#include "cli/sketch_output.h"

#include <QFile>

namespace hc::cli {

namespace {

bool writeSvg(const QString& path, const PlanSketch& sketch, const SketchView& view,
              std::FILE* err) {
    const QByteArray bytes = sketchSvg(sketch, view).toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        writeText(err, QStringLiteral("无法写入草图文件“%1”：%2\n").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace

bool writeSketchSvg(const QString& path, const PointRowWalk& walk, SketchKind kind,
                    const QString& marked, std::FILE* err) {
    SketchView view;
    const PlanSketch sketch =
        pagedSketchOfRows(walk, kind, marked, kSketchSvgWidth, kSketchSvgHeight, view);
    return writeSvg(path, sketch, view, err);
}

bool writeSketchSvg(const QString& path, PointListInput& input, SketchKind kind,
                    const QString& marked, std::FILE* err) {
    return writeSketchSvg(path, input.walker(PointListMode::Grid), kind, marked, err);
}

bool writeSketchSvg(const QString& path, const PlanSketch& sketch, std::FILE* err) {
    return writeSvg(path, sketch, fitAll(sketch, kSketchSvgWidth, kSketchSvgHeight), err);
}

}  // namespace hc::cli
