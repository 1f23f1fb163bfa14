#pragma once
// Saving a picture of a shown window, for the screenshot programs.

#include <QDir>
#include <QString>
#include <QTest>
#include <QWidget>
#include <cstdio>

namespace hc::test {

// Lets `w` paint, grabs it and writes the PNG file `name` in folder `dir`; prints
// "wrote <path>" or "FAILED <path>". False when `w` is null or the file was not written.
inline bool saveWindowGrab(QWidget* w, const QString& dir, const QString& name) {
    QTest::qWait(50);
    const QString path = QDir(dir).filePath(name);
    const bool ok = w && w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

}  // namespace hc::test
