// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SupportReport.h"

#include "base/Clock.h"
#include "image/ImageDeviceModel.h"
#include "image/ImageLayout.h"
#include "image/TMK.h"

#include <QRegularExpression>
#include <QSysInfo>

namespace mk {

void gatherSystemFacts(SupportReportInput &in)
{
    in.nodes = systemSerialNodes();
    in.connection = checkConnection();
}

QByteArray withoutFrameValues(const QByteArray &trace)
{
    static const QRegularExpression run(QStringLiteral("\\b[0-9a-f]{2}(?: [0-9a-f]{2}){8,}\\b"));
    QString text = QString::fromUtf8(trace);
    QString out;
    qsizetype at = 0;
    for (auto it = run.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QStringList bytes = m.captured().split(QLatin1Char(' '));
        out += QStringView(text).mid(at, m.capturedStart() - at);
        out += bytes.mid(0, 5).join(QLatin1Char(' ')) + QStringLiteral(" [%1 байт скрыто] ").arg(bytes.size() - 6) +
               bytes.last();
        at = m.capturedEnd();
    }
    out += QStringView(text).mid(at);
    return out.toUtf8();
}

namespace {

QString hex4(quint16 v) { return QStringLiteral("0x%1").arg(v, 4, 16, QLatin1Char('0')); }

QString nodeLine(const SerialNodeInfo &n)
{
    QString line = QStringLiteral("  %1").arg(n.node);
    if (n.vendorId && n.productId)
        line += QStringLiteral("  USB %1:%2")
                    .arg(*n.vendorId, 4, 16, QLatin1Char('0'))
                    .arg(*n.productId, 4, 16, QLatin1Char('0'));
    else
        line += QStringLiteral("  не USB");
    if (!n.description.isEmpty())
        line += QStringLiteral("  «%1»").arg(n.description);
    if (!n.manufacturer.isEmpty())
        line += QStringLiteral("  изготовитель «%1»").arg(n.manufacturer);
    if (!n.link.isEmpty())
        line += QStringLiteral("  постоянное имя %1").arg(n.link);
    return line;
}

QString settingsPart(const TMK &model, const QString &source)
{
    QString text;
    const DeviceModel device = SelectDeviceModel(model);
    text += QStringLiteral("Модель: %1 (%2)\n")
                .arg(device.ModelName.isEmpty() ? QStringLiteral("неизвестная") : device.ModelName,
                     hex4(model.modelCode()));
    text += QStringLiteral("Версия настроек: %1\n").arg(model.settingsVersion());
    text += QStringLiteral("Образ памяти: %1 байт\n").arg(model.image().size());
    if (!source.isEmpty())
        text += QStringLiteral("Откуда: %1\n").arg(source);
    const ImageHeader header = ImageHeader::parse(model.image());
    text += QStringLiteral("Таблица секций (%1 из %2):\n").arg(header.count).arg(kSectionCount);
    text += QStringLiteral("  секция  адрес  длина\n");
    for (int i = 0; i < kSectionCount; ++i) {
        const SectionEntry &e = header.sections[size_t(i)];
        text += QStringLiteral("  %1  %2  %3%4\n")
                    .arg(i, 6)
                    .arg(e.address, 5)
                    .arg(e.length, 5)
                    .arg(quint32(i) < header.count ? QString() : QStringLiteral("  (не используется)"));
    }
    return text;
}

} // namespace

QString supportReport(const SupportReportInput &in)
{
    const auto heading = [](const QString &title) { return QStringLiteral("\n== %1 ==\n").arg(title); };
    QString text = kSupportReportTitle + QLatin1Char('\n');
    text += QStringLiteral("Составлены: %1\n").arg(currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    text += heading(QStringLiteral("Программа и система"));
    text += QStringLiteral("Программа: %1\n").arg(in.program);
    text +=
        QStringLiteral("Qt: %1 (собрана с %2)\n").arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
    text += QStringLiteral("Система: %1; ядро %2 %3; %4\n")
                .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                     QSysInfo::currentCpuArchitecture());

    text += heading(QStringLiteral("Порты"));
    if (!in.port.isEmpty())
        text += QStringLiteral("Порт программы: %1\n").arg(in.port);
    text += in.nodes.isEmpty() ? QStringLiteral("Система не называет ни одного последовательного порта.\n")
                               : QStringLiteral("Последовательные порты системы:\n");
    for (const SerialNodeInfo &n : in.nodes)
        text += nodeLine(n) + QLatin1Char('\n');

    text += heading(QStringLiteral("Проверка подключения"));
    text += in.connection ? in.connection->text() : QStringLiteral("Не выполнялась.");
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');

    text += heading(QStringLiteral("Настройки"));
    text += in.settings && in.settings->hasImage() ? settingsPart(*in.settings, in.settingsSource)
                                                   : QStringLiteral("Настроек нет.\n");

    text += heading(QStringLiteral("Последняя ошибка"));
    text += in.lastError.isEmpty() ? QStringLiteral("Ошибок не было.\n") : in.lastError + QLatin1Char('\n');

    if (in.withPersonal) {
        text += heading(QStringLiteral("Журналы"));
        text += in.journals.isEmpty() ? QStringLiteral("Журналов нет.\n") : in.journals;
        if (!text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('\n');
    }

    text += heading(in.withPersonal ? QStringLiteral("Трассировка последних обменов")
                                    : QStringLiteral("Трассировка последних обменов (без данных в кадрах)"));
    const QByteArray trace = in.withPersonal ? in.trace : withoutFrameValues(in.trace);
    text += trace.isEmpty() ? QStringLiteral("Трассировки нет.\n") : QString::fromUtf8(trace);
    return text;
}

} // namespace mk
