// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Readable GoogleTest output for Qt values.

#include <QByteArray>
#include <QString>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << bytes.size() << " bytes: " << bytes.left(48).toHex(' ').constData() << (bytes.size() > 48 ? " ..." : "");
}
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE
