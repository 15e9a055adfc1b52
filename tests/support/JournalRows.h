// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the journal tests: a section's factory-fresh record and a grid row from literals.

#include "image/TMK.h"

#include <QStringList>
#include <initializer_list>

namespace mk::test {

inline Record section(int k) { return TMK::defaultRecords()[size_t(k)]; }

inline QStringList row(std::initializer_list<const char *> cells)
{
    QStringList r;
    for (const char *c : cells)
        r << QString::fromUtf8(c);
    return r;
}

} // namespace mk::test
