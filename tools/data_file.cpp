#include "tools/data_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace hc {
namespace {

QString withCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out.append(u'\r');
        out.append(text[i]);
    }
    return out;
}

// More than one control character in a hundred (beyond tab, line ends, form feed
// and the end-of-file mark of old editors), or any NUL, makes a file binary.
bool looksBinary(const QByteArray& bytes) {
    qsizetype controls = 0;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0) return true;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1a) ++controls;
    }
    return controls * 100 > bytes.size();
}

bool decodeStrict(QStringDecoder& decoder, const QByteArray& bytes, QString& out) {
    if (!decoder.isValid()) return false;
    out = decoder.decode(bytes);
    return !decoder.hasError();
}

DataFileText refused(const QString& message) {
    DataFileText r;
    r.message = message;
    return r;
}

DataFileText decoded(const QString& text, const QString& encoding) {
    DataFileText r;
    r.ok = true;
    r.text = withCrLf(text);
    r.encoding = encoding;
    return r;
}

}  // namespace

DataFileText decodeDataText(const QByteArray& bytes) {
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")) {
        // The decoder would drop a lone last byte without an error.
        if (bytes.size() % 2 != 0)
            return refused(QStringLiteral(
                "该文件是 UTF-16 编码，但末尾多出一个字节（文件不完整或已损坏），无法导入。"));
        QStringDecoder utf16(
            bytes.startsWith("\xff\xfe") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
            QStringConverter::Flag::Stateless);
        QString text;
        if (decodeStrict(utf16, bytes.mid(2), text) && !text.contains(QChar(0)))
            return decoded(text, QStringLiteral("UTF-16"));
        return refused(QStringLiteral("该文件不是可以识别的文本文件，无法导入。"));
    }
    QByteArray body = bytes;
    const bool bom = body.startsWith("\xef\xbb\xbf");
    if (bom) body.remove(0, 3);
    if (looksBinary(body))
        return refused(QStringLiteral(
            "该文件含有二进制数据，不是文本文件，无法导入。请选择文本文件（.txt、.csv）。"));
    QString text;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (decodeStrict(utf8, body, text)) return decoded(text, QStringLiteral("UTF-8"));
    if (!bom) {
        QStringDecoder gb("GB18030", QStringConverter::Flag::Stateless);
        if (decodeStrict(gb, body, text)) return decoded(text, QStringLiteral("GB18030"));
    }
    return refused(QStringLiteral(
        "无法识别该文件的文字编码，无法导入。只能导入 UTF-8 或 GB18030（GBK）编码的文本文件。"));
}

DataFileText readDataFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return refused(QStringLiteral("找不到文件：") + path);
    if (info.size() > kDataFileLimit)
        return refused(QStringLiteral("文件太大（超过 10 MB），无法导入：") + path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return refused(QStringLiteral("无法读取文件：") + path);
    const QByteArray bytes = file.read(kDataFileLimit + 1);
    if (bytes.size() > kDataFileLimit)
        return refused(QStringLiteral("文件太大（超过 10 MB），无法导入：") + path);
    return decodeDataText(bytes);
}

QByteArray encodeDataText(const QString& text) { return withCrLf(text).toUtf8(); }

QString writeDataFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("无法保存文件：") + path;
    const QByteArray bytes = encodeDataText(text);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("无法保存文件：") + path;
    return {};
}

}  // namespace hc
