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
    std::array<QStringView, kColumns> row;
    for (size_t cell = 0; cell < rows * kColumns; ++cell) {
        row[cell % kColumns] = QStringView(texts_).sliced(start, ends_[cell] - start);
        start = ends_[cell];
        if (cell % kColumns == kColumns - 1) appendRow(out, row, width_, padLeft);
    }
    return out;
}

void AlignedColumns::appendRow(QString& out, const std::array<QStringView, kColumns>& texts,
                               const std::array<qsizetype, kColumns>& widths,
                               const std::array<bool, kColumns>& padLeft) {
    for (size_t column = 0; column < kColumns; ++column) {
        const QStringView text = texts[column];
        const qsizetype pad = std::max<qsizetype>(widths[column] - text.size(), 0);
        if (padLeft[column]) out.resize(out.size() + pad, u' ');
        out.append(text);
        if (!padLeft[column]) out.resize(out.size() + pad, u' ');
        out.append(column + 1 < kColumns ? QLatin1String(" ,") : QLatin1String("\r\n"));
    }
}

}  // namespace hc
