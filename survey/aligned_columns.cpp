#include "survey/aligned_columns.h"

#include <algorithm>

namespace hc {

AlignedColumns::AlignedColumns(qsizetype rows) {
    ends_.reserve(static_cast<size_t>(rows) * kColumns);
    texts_.reserve(rows * 48);  // a survey row of five texts is some 40 characters
}

void AlignedColumns::add(QStringView text) {
    const size_t column = ends_.size() % kColumns;
    width_[column] = std::max(width_[column], text.size());
    texts_.append(text);
    ends_.push_back(texts_.size());
}

QString AlignedColumns::layOut(const std::array<bool, kColumns>& padLeft) const {
    const size_t rows = ends_.size() / kColumns;
    qsizetype rowWidth = 2 * kColumns;
    for (qsizetype w : width_) rowWidth += w;
    QString out;
    out.reserve(static_cast<qsizetype>(rows) * rowWidth);
    qsizetype start = 0;
    for (size_t cell = 0; cell < rows * kColumns; ++cell) {
        const size_t column = cell % kColumns;
        const QStringView text = QStringView(texts_).sliced(start, ends_[cell] - start);
        start = ends_[cell];
        const qsizetype pad = width_[column] - text.size();
        if (padLeft[column]) out.resize(out.size() + pad, u' ');
        out.append(text);
        if (!padLeft[column]) out.resize(out.size() + pad, u' ');
        out.append(column + 1 < kColumns ? QLatin1String(" ,") : QLatin1String("\r\n"));
    }
    return out;
}

}  // namespace hc
