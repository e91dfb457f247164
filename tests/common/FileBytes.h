#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Byte-exact file helpers for Qt tests; paths are host paths.

// The file's bytes; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file, replacing it; a failure to open it fails the test.
inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
