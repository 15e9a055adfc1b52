// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain whole-file writes and reads for tests that prepare or inspect files byte by byte. No
// test framework inside: GoogleTest and Qt Test programs check the result their own way.

#include <QByteArray>
#include <QFile>
#include <QString>

// Replaces the file with data; false when it could not be opened or not all bytes went in.
[[nodiscard]] inline bool writeRaw(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// The whole file, or empty when it cannot be read.
inline QByteArray readRaw(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
