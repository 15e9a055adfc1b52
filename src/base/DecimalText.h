// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Measured values as every window shows them: the locale's decimal separator (a comma where the
// program speaks Russian) and no group separators. Files meant for programs (CSV) keep points.

#include <QLocale>
#include <QString>

namespace mk {

inline QString decimalText(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

} // namespace mk
