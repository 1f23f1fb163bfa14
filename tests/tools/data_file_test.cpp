#include "tools/data_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

const char* kSample = "例1a*2*3\r\n例2b的*2.5*-1\r\n";

TEST(DataFile, DecodesTheEncodingsOfTextFiles) {
    const QString text = q(kSample);
    QStringEncoder gb("GB18030");
    ASSERT_TRUE(gb.isValid());
    const QByteArray gbBytes = gb.encode(text);
    QStringEncoder utf16(QStringConverter::Utf16LE);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* encoding;
    } cases[] = {
        {"UTF-8", text.toUtf8(), "UTF-8"},
        {"UTF-8 with BOM", QByteArray("\xef\xbb\xbf") + text.toUtf8(), "UTF-8"},
        {"GB18030", gbBytes, "GB18030"},
        {"UTF-16 with BOM", QByteArray("\xff\xfe") + QByteArray(utf16.encode(text)), "UTF-16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DataFileText d = decodeDataText(c.bytes);
        ASSERT_TRUE(d.ok) << d.message.toStdString();
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(d.encoding, q(c.encoding));
    }
    // GBK bytes of 例 (C0 FD) are not UTF-8.
    const DataFileText gbk =
        decodeDataText(QByteArray("\xc0\xfd"
                                  "1*2\n"));
    ASSERT_TRUE(gbk.ok);
    EXPECT_EQ(gbk.text, q("例1*2\r\n"));
}

TEST(DataFile, RefusesUtf16WithAnOddLastByte) {
    QStringEncoder le(QStringConverter::Utf16LE);
    QStringEncoder be(QStringConverter::Utf16BE);
    const QByteArray whole[] = {QByteArray("\xff\xfe") + QByteArray(le.encode(q(kSample))),
                                QByteArray("\xfe\xff") + QByteArray(be.encode(q(kSample)))};
    for (const QByteArray& bytes : whole) {
        ASSERT_TRUE(decodeDataText(bytes).ok);
        const DataFileText d = decodeDataText(bytes + QByteArray("7"));
        EXPECT_FALSE(d.ok) << d.text.toStdString();
        EXPECT_TRUE(d.message.contains(q("UTF-16"))) << d.message.toStdString();
        EXPECT_TRUE(d.message.contains(q("多出一个字节"))) << d.message.toStdString();
    }
    EXPECT_FALSE(decodeDataText(QByteArray("\xff\xfe\x31")).ok);
}

TEST(DataFile, LineEndsBecomeCrLf) {
    EXPECT_EQ(decodeDataText("1\n2\r\n3\r4").text, q("1\r\n2\r\n3\r4"));
    EXPECT_EQ(encodeDataText(q("例\n2\r\n")), QByteArray("\xe4\xbe\x8b\r\n2\r\n"));
}

TEST(DataFile, RefusesBinaryData) {
    const QByteArray withNul("1*2\r\n\0\x01\x02", 8);
    const DataFileText d = decodeDataText(withNul);
    EXPECT_FALSE(d.ok);
    EXPECT_TRUE(d.message.contains(q("二进制"))) << d.message.toStdString();
    QByteArray noisy(400, 'a');
    for (int i = 0; i < 400; i += 40) noisy[i] = '\x07';
    EXPECT_FALSE(decodeDataText(noisy).ok);
    EXPECT_TRUE(decodeDataText(QByteArray("1\t2\x1a")).ok);
}

TEST(DataFile, SavesAndReadsBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(q("数据.txt"));
    EXPECT_TRUE(writeDataFile(path, q(kSample)).isEmpty());
    const DataFileText d = readDataFile(path);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.text, q(kSample));

    EXPECT_FALSE(writeDataFile(dir.filePath(q("无/此/目录.txt")), q("1")).isEmpty());
    EXPECT_FALSE(readDataFile(dir.filePath(q("不存在.txt"))).ok);
}

TEST(DataFile, RefusesFilesAboveTenMegabytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(q("big.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(kDataFileLimit + 1));
    f.close();
    const DataFileText d = readDataFile(path);
    EXPECT_FALSE(d.ok);
    EXPECT_TRUE(d.message.contains(q("10 MB"))) << d.message.toStdString();

    ASSERT_TRUE(f.resize(kDataFileLimit));  // exactly at the limit: read (all spaces)
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(kDataFileLimit, ' '));
    f.close();
    EXPECT_TRUE(readDataFile(path).ok);
}

}  // namespace
}  // namespace hc
