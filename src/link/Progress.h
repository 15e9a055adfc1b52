// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a long device exchange reports while it runs, and how it learns of Cancel.
// The GUI's progress window and mktool's terminal progress bar implement it.

#include <QString>

namespace mk {

class Progress
{
public:
    virtual ~Progress() = default;
    virtual void setText(const QString &text) = 0;
    virtual void setValue(int percent) = 0; // 0..100
    // Polled by the exchange where the device protocol allows stopping; may be called from the
    // exchange's worker thread, so implementations keep it thread-safe (an atomic flag).
    virtual bool cancelled() const = 0;
    // The gauge is hidden while connecting and shown while reading or writing.
    virtual void setGaugeVisible(bool) {}
    // False while sections are being written: stopping then would leave the device half
    // written, so the exchange does not look at Cancel (a window may disable its button).
    virtual void setCancelAllowed(bool) {}
};

// A progress sink that shows nothing and is never cancelled.
class NullProgress : public Progress
{
public:
    void setText(const QString &) override {}
    void setValue(int) override {}
    bool cancelled() const override { return false; }
};

} // namespace mk
