// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FieldSpinBox.h"

#include <QLocale>

namespace mk {

FieldSpinBox::FieldSpinBox(QWidget *parent) : QDoubleSpinBox(parent)
{
    // The value changes when it is taken (focus loss, Enter), never half-typed: a refused
    // number then leaves the value held before, the stored one.
    setKeyboardTracking(false);
}

std::optional<double> FieldSpinBox::typedNumber(const QString &text) const
{
    QString number = text.trimmed();
    if (!prefix().isEmpty() && number.startsWith(prefix()))
        number.remove(0, prefix().size());
    if (!suffix().isEmpty() && number.endsWith(suffix()))
        number.chop(suffix().size());
    number = number.trimmed();
    const QString point = locale().decimalPoint();
    const qsizetype at = number.indexOf(point);
    if (at >= 0 && number.size() - at - point.size() > decimals())
        return std::nullopt;
    bool ok = false;
    const double value = locale().toDouble(number, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QValidator::State FieldSpinBox::validate(QString &text, int &pos) const
{
    // A point typed where the locale writes a comma (the numeric keypad) means the same.
    const QString point = locale().decimalPoint();
    if (decimals() > 0 && point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    const QValidator::State state = QDoubleSpinBox::validate(text, pos);
    // Qt refuses the keystroke that takes a number past the range; here the number stays
    // typed and is refused as a whole when it is taken.
    if (state == QValidator::Invalid && typedNumber(text))
        return QValidator::Intermediate;
    return state;
}

void FieldSpinBox::fixup(QString &text) const
{
    QDoubleSpinBox::fixup(text);
    const std::optional<double> typed = typedNumber(text);
    if (typed && (*typed < minimum() || *typed > maximum()))
        emit const_cast<FieldSpinBox *>(this)->refused(*typed);
}

QString numberText(const QDoubleSpinBox &box, double value)
{
    QLocale locale = box.locale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', box.decimals());
}

QString rangeText(const QDoubleSpinBox &box)
{
    return QStringLiteral("от %1 до %2").arg(numberText(box, box.minimum()), numberText(box, box.maximum()));
}

} // namespace mk
