// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simulated device served on a pseudo-terminal in this process, and a link whose port
// number points at it: the real port code end to end, with faults a test can aim.

#include "link/Progress.h"
#include "link/TKW_RS.h"
#include "sim/PtySimulator.h"
#include "sim/SimulatedDevice.h"

#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>

namespace mk::test {

struct PtyDevice
{
    // The factory memory of the device class at this address, unless memory is given; the
    // options pace the line and choose the delivery.
    PtyDevice(quint8 address, quint16 modelCode, quint32 settingsVersion = 3, QByteArray memory = {},
              PtySimulatorOptions options = {});
    ~PtyDevice();

    SimulatedDevice device;
    PtySimulator sim;
    int port = 0;
    std::unique_ptr<TKW_RS> link;
};

// A terminal opened raw, without the port code: what a test writes goes out as it is, and what
// it reads is exactly what reached the terminal, in order.
class RawTerminal
{
public:
    explicit RawTerminal(const QString &path);
    ~RawTerminal();
    RawTerminal(const RawTerminal &) = delete;
    RawTerminal &operator=(const RawTerminal &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void write(const QByteArray &bytes);
    // Reads until count bytes have come, or nothing more came for quietMs (a guard against a
    // hang, not a measure); returns what came.
    QByteArray read(int count, int quietMs = 3000);

private:
    int m_fd = -1;
};

// Requests of one command the device saw, as (first word, second word) of their values.
std::vector<std::pair<int, int>> requestWords(const std::vector<QByteArray> &requests, quint8 command);

// Remembers what the exchange showed; cancels when told to.
class RecordingProgress : public Progress
{
public:
    void setText(const QString &text) override { texts << text; }
    void setValue(int percent) override { values << percent; }
    bool cancelled() const override { return cancelWhen ? cancelWhen() : m_cancel.load(); }
    void setGaugeVisible(bool visible) override { gauge << visible; }
    void setCancelAllowed(bool allowed) override { cancelAllowed << allowed; }
    void cancel() { m_cancel = true; }

    QStringList texts;
    QList<int> values;
    QList<bool> gauge, cancelAllowed;
    std::function<bool()> cancelWhen;

private:
    std::atomic<bool> m_cancel{false};
};

} // namespace mk::test
