// SPDX-License-Identifier: GPL-3.0-or-later
// Errors from real failures carry their kind and where they happened, not only their words:
// mksim's faults on a pseudo-terminal reached through the real port code, ports that cannot be
// opened, and a disk that fills up during a write.

#include "base/Error.h"
#include "base/FileIo.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "link/SerialPortIo.h"
#include "link/TKW_RS.h"
#include "support/Mksim.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <unistd.h>

namespace mk::test {
namespace {

std::optional<Error> failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const Error &e) {
        return e;
    }
    return std::nullopt;
}

TEST(ErrorKinds, LineFaultsOfMksimCarryKindPortRequestAndAttempt)
{
    struct Row
    {
        const char *fault;
        ErrorKind kind;
        QString text;
    };
    const Row rows[] = {
        {"silence:1", ErrorKind::NoLink, kNoLinkText},
        {"short-frame:1", ErrorKind::NoLink, kNoLinkText},
        {"drop-byte:1", ErrorKind::Timeout, kInterByteText},
        {"bad-checksum:1", ErrorKind::Refused, kExchangeErrorText + QStringLiteral("(0)")},
        {"zero-header:1", ErrorKind::Refused, kExchangeErrorText + QStringLiteral("(4)")},
        {"busy:1", ErrorKind::DeviceBusy, kBusyText},
    };
    constexpr int kPort = 31;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.fault);
        MksimProcess sim({QStringLiteral("--fault"), QString::fromLatin1(row.fault)});
        ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
        setPortOverride(kPort, sim.path());
        const QString label = portLabel(kPort);
        std::optional<Error> e;
        {
            TKW_RS link;
            link.port().OpenPort(kPort);
            ASSERT_TRUE(link.port().IsOpen());
            link.protocol().SetFirstByteTimeout(100);
            e = failureOf([&] { link.protocol().CommandExchange(0xFC, 1); });
        }
        setPortOverride(kPort, {});
        ASSERT_TRUE(e);
        EXPECT_EQ(e->kind(), row.kind) << errorKindName(e->kind()).toStdString();
        EXPECT_EQ(e->text(), row.text); // the device's words stay as they are
        EXPECT_EQ(e->context().port, label);
        EXPECT_TRUE(e->context().port.contains(sim.path())) << e->context().port.toStdString();
        EXPECT_EQ(e->context().command, QStringLiteral("0x01"));
        EXPECT_EQ(e->context().attempt, 3); // every attempt of the link was spent
        // The box names the port the words do not.
        EXPECT_EQ(e->shownText(), row.text + QStringLiteral("\n\nПорт: ") + label);
        EXPECT_TRUE(e->contextLines().contains(QStringLiteral("Попытка: 3")));
    }
}

TEST(ErrorKinds, PortsThatCannotBeOpenedSayWhichAndWhy)
{
    // Held: the port code locks what it opens, so a second opening finds it taken.
    MksimProcess sim({});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const QString label = QStringLiteral("COM9 (%1)").arg(sim.path());
    const std::unique_ptr<SerialPortIo> first = SerialPortIo::open(sim.path(), label);
    ASSERT_TRUE(first);
    const std::optional<Error> busy = failureOf([&] { SerialPortIo::open(sim.path(), label); });
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->kind(), ErrorKind::PortBusy);
    EXPECT_EQ(busy->text(), portInUseText(label));
    EXPECT_EQ(busy->context().port, label);
    EXPECT_EQ(busy->shownText(), portInUseText(label)); // the words already name the port

    // Refused: a node this user may not open (root may open any file; a read-only attribute of
    // the kernel refuses even root).
    QTemporaryDir dir;
    QString node = dir.filePath(QStringLiteral("ttyLocked"));
    ASSERT_TRUE(QFile(node).open(QIODevice::WriteOnly));
    QFile::setPermissions(node, QFileDevice::Permissions());
    if (::geteuid() == 0)
        node = QStringLiteral("/sys/kernel/notes");
    if (tryOpeningNode(node) == PortOpening::Forbidden) {
        const std::optional<Error> denied = failureOf([&] { SerialPortIo::open(node, QStringLiteral("COM8")); });
        ASSERT_TRUE(denied);
        EXPECT_EQ(denied->kind(), ErrorKind::PortDenied);
        EXPECT_EQ(denied->text(), permissionDeniedText(QStringLiteral("COM8")));
        EXPECT_EQ(denied->context().port, QStringLiteral("COM8"));
        EXPECT_EQ(denied->context().errnoCode, EACCES);
        EXPECT_FALSE(denied->context().systemMessage.isEmpty());
        EXPECT_TRUE(denied->contextLines().contains(
            QStringLiteral("Код ошибки: %1 (%2)").arg(EACCES).arg(denied->context().systemMessage)));
    } else {
        ADD_FAILURE() << "no node refuses this user here: " << node.toStdString();
    }

    // Missing: nothing to open is no error of the port code; the search reports the device.
    EXPECT_EQ(SerialPortIo::open(dir.filePath(QStringLiteral("ttyNone")), QStringLiteral("COM7")), nullptr);
}

TEST(ErrorKinds, AFullDiskKeepsTheSystemsCodeAndThePath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("car.tcset"));
    struct Row
    {
        WriteStep step;
        int error;
    };
    for (const Row &row : {Row{WriteStep::Write, ENOSPC}, Row{WriteStep::Fsync, EIO}, Row{WriteStep::Close, EDQUOT}}) {
        SCOPED_TRACE(row.error);
        injectWriteFault(row.step, row.error);
        const std::optional<Error> e = failureOf([&] { writeFileAtomically(path, QByteArray(1000, 'x')); });
        injectWriteFault(WriteStep::None, 0);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->kind(), ErrorKind::FileIo);
        EXPECT_EQ(e->context().place, QDir::toNativeSeparators(path));
        EXPECT_EQ(e->context().errnoCode, row.error);
        EXPECT_EQ(e->context().systemMessage, QString::fromLocal8Bit(strerror(row.error)));
        EXPECT_EQ(e->context().windowsCode, 0u); // injected, not the system's
        EXPECT_TRUE(e->text().startsWith(QStringLiteral("Не могу записать файл"))) << e->text().toStdString();
    }
    const std::optional<Error> missing = failureOf([&] { readWholeFile(dir.filePath(QStringLiteral("none")), 10); });
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->kind(), ErrorKind::FileIo);
    EXPECT_EQ(missing->context().errnoCode, ENOENT);
    const std::optional<Error> unnamed = failureOf([&] { readWholeFile(QString(), 10); });
    ASSERT_TRUE(unnamed);
    EXPECT_EQ(unnamed->kind(), ErrorKind::BadValue);
}

} // namespace
} // namespace mk::test
