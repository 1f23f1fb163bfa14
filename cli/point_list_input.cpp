#include "cli/point_list_input.h"

#include "cli/command_line.h"

namespace hc::cli {

QString readPointListText(std::FILE* in) {
    LineReader reader(in);
    QString text;
    QString line;
    while (reader.next(line)) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

void writeBoxText(std::FILE* out, std::FILE* err, const QString& box, const Notices& notices) {
    for (const Notice& n : notices) writeText(err, n.text + u'\n');
    writeText(out, box);
}

}  // namespace hc::cli
