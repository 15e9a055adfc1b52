// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The support report: what whoever helps the user needs to see why a device or cable misbehaves,
// in one plain UTF-8 text: the program and Qt, the system, the serial ports with their USB
// identities, the connection check's findings, the held settings' model, version and section
// table, the last error, and the trace of the recent exchanges. Journals, and the data bytes the
// trace's frames carry, are in it only when the user asks (withPersonal); otherwise every frame
// keeps its header and checksum and its values are left out.
//
//   SupportReportInput in;
//   in.program = u"mktool 1.2.0"_s;
//   in.settings = &model;
//   QByteArray text = supportReport(in).toUtf8();

#include "link/ConnectionCheck.h"
#include "link/PortDiscovery.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace mk {

class TMK;

inline const QString kSupportReportTitle = QStringLiteral("Сведения для поддержки");

struct SupportReportInput
{
    QString program;                            // "mkconf 1.2.0"
    QString port;                               // the port the program uses and how it was chosen; empty: none
    QList<SerialNodeInfo> nodes;                // the ports the system lists
    std::optional<ConnectionReport> connection; // the connection check's findings
    const TMK *settings = nullptr;              // the settings held, if any
    QString settingsSource;                     // where they came from
    QString lastError;                          // the last error shown, with what it knows
    QByteArray trace;                           // the recent trace's lines
    bool withPersonal = false;                  // journals and the frames' data bytes
    QString journals;                           // shown only withPersonal
};

// The gathered facts of this system: the ports listed and the connection check.
void gatherSystemFacts(SupportReportInput &in);

QString supportReport(const SupportReportInput &in);

// The trace with the values of every frame left out: a run of more than eight hex bytes keeps
// its first five (length, address, command) and its last one (the checksum).
QByteArray withoutFrameValues(const QByteArray &trace);

// Bytes of the recent trace a report takes at most.
constexpr qint64 kReportTraceBytes = 256 * 1024;

} // namespace mk
