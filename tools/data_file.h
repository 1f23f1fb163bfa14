#pragma once
// Data texts in files: saving a data box as UTF-8 text with CR LF line ends and
// importing text files in UTF-8 (with or without byte order mark), UTF-16 with byte
// order mark, or GB18030 / GBK, the encoding of Chinese spreadsheet exports.

#include <QByteArray>
#include <QString>

namespace hc {

// Files above this size are not imported.
constexpr qint64 kDataFileLimit = 10 * 1024 * 1024;

struct DataFileText {
    bool ok = false;
    QString text;      // the text with CR LF line ends (a lone LF becomes CR LF)
    QString encoding;  // "UTF-8", "UTF-16" or "GB18030"
    QString message;   // why the file was refused (Chinese), when !ok
};

// Decodes the bytes of a text file. Refuses bytes with NUL characters or many other
// control characters (a binary file) and bytes that are neither UTF-8 nor GB18030.
DataFileText decodeDataText(const QByteArray& bytes);

// Reads and decodes the file at `path`; refuses files above kDataFileLimit bytes
// without reading them.
DataFileText readDataFile(const QString& path);

// The text as UTF-8 without byte order mark, every line ended by CR LF.
QByteArray encodeDataText(const QString& text);

// Writes encodeDataText(text) to `path` (replacing the file only when complete).
// Returns the empty text, or why it failed (Chinese).
QString writeDataFile(const QString& path, const QString& text);

}  // namespace hc
