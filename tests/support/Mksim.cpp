// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Mksim.h"

namespace mk::test {

QString mksimPath() { return QStringLiteral(MK_BIN_DIR "/mksim"); }

QString mktoolPath() { return QStringLiteral(MK_BIN_DIR "/mktool"); }

MksimProcess::MksimProcess(const QStringList &args)
{
    m_process.start(mksimPath(), args);
    if (!m_process.waitForStarted(5000)) {
        m_error = m_process.errorString();
        return;
    }
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(5000)) {
            m_error = QStringLiteral("mksim printed no path: ") + QString::fromUtf8(m_process.readAllStandardError());
            return;
        }
    }
    m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

MksimProcess::~MksimProcess() { stop(); }

int MksimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString MksimProcess::standardError() { return QString::fromUtf8(m_process.readAllStandardError()); }

} // namespace mk::test
