// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a trip computer is plugged in and on which port, for the status bar: the system's
// list of serial nodes is looked at twice a second, and no port is ever opened for it. The
// system's list takes tens of milliseconds to build, so the looks run on a thread of their own.

#include "link/PortDiscovery.h"

#include <QObject>
#include <QString>
#include <functional>

class QThread;

namespace mk {

inline const QString kDeviceAbsentText = QStringLiteral("МК не подключён");

// What the status bar says of these nodes: "МК подключён: COM3 — /dev/mk-0" for the first trip
// computer (its stable name first, as automatic search tries it), "МК не подключён" when none.
// The port number is looked up, never assigned; a node outside the table is shown by name only.
QString deviceStatusText(const QList<SerialNodeInfo> &nodes);

class DeviceWatcher : public QObject
{
    Q_OBJECT

public:
    using NodeSource = std::function<QList<SerialNodeInfo>()>;
    static constexpr int kDefaultIntervalMs = 500;

    // The source is called on the watcher's thread once started.
    explicit DeviceWatcher(NodeSource source = systemSerialNodes, QObject *parent = nullptr);
    ~DeviceWatcher() override;

    // Looks now, then every intervalMs on the watcher's thread.
    void start(int intervalMs = kDefaultIntervalMs);
    void stop();
    // Looks once, here and now; emits changed when the text differs from the last one.
    void refresh();

    QString text() const { return m_text; }
    bool connected() const { return m_text != kDeviceAbsentText; }

signals:
    void changed(const QString &text);

private:
    void take(const QString &text);

    NodeSource m_source;
    QThread *m_thread = nullptr;
    QString m_text = kDeviceAbsentText;
};

} // namespace mk
