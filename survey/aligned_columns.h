// Rows of five texts laid out as the point windows show them: every column as wide
// as its widest text, the texts padded with spaces on the left or on the right,
// columns joined by " ," and every row ended by CR LF.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <vector>

namespace hc {

class AlignedColumns {
public:
    static constexpr int kColumns = 5;

    // Room for `rows` rows; more may be added.
    explicit AlignedColumns(qsizetype rows);

    // The next text, row after row, column after column; rows come whole.
    void add(QStringView text);

    // The laid-out rows; a column whose `padLeft` entry is true is aligned to the
    // right.
    QString layOut(const std::array<bool, kColumns>& padLeft) const;

    // Appends one row of `texts` laid out in columns of `widths` characters, as
    // layOut lays out each row.
    static void appendRow(QString& out, const std::array<QStringView, kColumns>& texts,
                          const std::array<qsizetype, kColumns>& widths,
                          const std::array<bool, kColumns>& padLeft);

private:
    QString texts_;                // every text, one after the other
    std::vector<qsizetype> ends_;  // where each text ends in texts_
    std::array<qsizetype, kColumns> width_{};
};

}  // namespace hc
