// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spin edit of a numeric setting. A number typed outside its range is neither cut short while
// typing nor undone without a word: the box keeps the digits, and when the value is taken it goes
// back to the value it held before and reports the refused number, so that the editor can say
// which values the setting takes.

#include <QDoubleSpinBox>
#include <optional>

namespace mk {

class FieldSpinBox : public QDoubleSpinBox
{
    Q_OBJECT
public:
    explicit FieldSpinBox(QWidget *parent = nullptr);

    QValidator::State validate(QString &text, int &pos) const override;
    void fixup(QString &text) const override;

signals:
    // A number outside minimum() .. maximum() was typed; the box shows its previous value again.
    void refused(double typed);

private:
    // The typed text as a number with no more decimals than the box shows; nothing otherwise.
    std::optional<double> typedNumber(const QString &text) const;
};

// A number as the box writes it (its decimals, no group separators).
QString numberText(const QDoubleSpinBox &box, double value);
// "от 0 до 200000", in the box's own number format.
QString rangeText(const QDoubleSpinBox &box);

} // namespace mk
