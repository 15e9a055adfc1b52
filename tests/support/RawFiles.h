#pragma once
// Plain whole-file writes and reads for tests that prepare or inspect files byte by byte.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

inline void writeRaw(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

inline QByteArray readRaw(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
