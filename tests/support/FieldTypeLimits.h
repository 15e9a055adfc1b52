// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The smallest and largest value each integer field type can store (0 for the others).

#include "settings/FieldTable.h"

#include <QtGlobal>

namespace mk::test {

inline qint64 typeMin(FieldType t)
{
    switch (t) {
    case FieldType::Int8: return -128;
    case FieldType::Int16: return -32768;
    case FieldType::Int32: return -2147483648LL;
    default: return 0;
    }
}

inline qint64 typeMax(FieldType t)
{
    switch (t) {
    case FieldType::Int8: return 127;
    case FieldType::UInt8: return 255;
    case FieldType::Int16: return 32767;
    case FieldType::UInt16: return 65535;
    case FieldType::Int32: return 2147483647LL;
    case FieldType::UInt32: return 4294967295LL;
    default: return 0;
    }
}

} // namespace mk::test
