#include "cli/point_list_input.h"

#include "cli/command_line.h"

namespace hc::cli {

std::optional<QString> readPointListText(std::FILE* in, InputEncoding encoding, std::FILE* err) {
    LineReader reader(in, encoding, err);
    QString text;
    QString line;
    while (reader.next(line)) {
        text += line;
        text += QLatin1String("\r\n");
    }
    if (reader.refusedLines() > 0) return std::nullopt;
    return text;
}

QString readPointListText(std::FILE* in) {
    return readPointListText(in, InputEncoding::Auto, nullptr).value_or(QString());
}

void writeBoxText(std::FILE* out, std::FILE* err, const QString& box, const Notices& notices) {
    writeNotices(err, notices);
    writeText(out, box);
}

}  // namespace hc::cli
