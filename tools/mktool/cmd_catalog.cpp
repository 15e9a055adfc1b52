// SPDX-License-Identifier: GPL-3.0-or-later
// mktool catalog: the device models, or the measured parameters, protocols or hot-menu items of one
// model, as JSON.

#include "CatalogJson.h"
#include "Command.h"
#include "base/Error.h"
#include "catalogs/CatalogTables.h"
#include "catalogs/MeasPars.h"
#include "catalogs/MenuItems.h"
#include "image/ImageDeviceModel.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace mk::tool {

namespace {

const QString kName = QStringLiteral("catalog");

// Every model the device knows: its code as --model takes it, the settings versions it covers and
// its name. Rows without a name (versions the model does not have) are left out.
QJsonArray modelsJson()
{
    QJsonArray list;
    for (const catalog_data::ModelRow &row : catalog_data::modelRows()) {
        if (*row.name == '\0')
            continue;
        const QString code = QString::number(row.modelType, 16).rightJustified(4, QLatin1Char('0')).toUpper();
        list.append(QJsonObject{{QStringLiteral("model"), QStringLiteral("0x") + code},
                                {QStringLiteral("first_version"), row.firstVariant},
                                {QStringLiteral("last_version"), row.lastVariant},
                                {QStringLiteral("name"), QString::fromUtf8(row.name)}});
    }
    return list;
}

int runCatalog(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--model"), QStringLiteral("--version"), QStringLiteral("--protocol")}, {});
    if (!args.ok())
        return usageError(kName, args.error());
    if (args.positional().size() != 1)
        return usageError(kName, QStringLiteral("нужен один из каталогов: models, params, protocols, menu"));
    const QString what = args.positional().first();
    if (what == QLatin1String("models")) {
        out(QString::fromUtf8(QJsonDocument(modelsJson()).toJson(QJsonDocument::Indented)));
        return kOk;
    }
    if (what != QLatin1String("params") && what != QLatin1String("protocols") && what != QLatin1String("menu"))
        return usageError(kName,
                          QStringLiteral("неизвестный каталог «%1» (models, params, protocols или menu)").arg(what));
    if (!args.has(QStringLiteral("--model")))
        return usageError(kName, QStringLiteral("нужен --model КОД"));

    const auto model = quint16(parseNumber(args.value(QStringLiteral("--model")), QStringLiteral("--model"), 0xFFFF));
    const quint32 version =
        parseNumber(args.value(QStringLiteral("--version"), QStringLiteral("0")), QStringLiteral("--version"), 255);
    const bool oneProtocol = args.has(QStringLiteral("--protocol"));
    const quint32 index =
        oneProtocol ? parseNumber(args.value(QStringLiteral("--protocol")), QStringLiteral("--protocol"), 255) : 0;
    const DeviceModel device = SelectDeviceModel(model, index, version);
    if (oneProtocol && !CurrentProtocol(device))
        throw Error(QStringLiteral("Модель %1 (версия %2) не имеет протокола с номером %3 (протоколов: %4)")
                        .arg(model)
                        .arg(version)
                        .arg(index)
                        .arg(device.ProtocolList.size()));

    QJsonArray list;
    if (what == QLatin1String("protocols")) {
        for (size_t i = 0; i < device.ProtocolList.size(); ++i)
            if (!oneProtocol || int(i) == currentProtocolIndex(device))
                list.append(protocolJson(device.ProtocolList[i], int(i)));
    } else if (what == QLatin1String("params")) {
        // The whole catalog of the model, or the codes the chosen protocol offers in its order.
        const MeasParCatalog pars(device.Flags);
        if (oneProtocol) {
            for (quint8 code : CurrentProtocol(device)->ParamCodes)
                if (const TMeasParBase *p = pars.FindMeasPar(code))
                    list.append(measParJson(*p));
        } else {
            for (const TMeasParBase &p : pars.entries())
                list.append(measParJson(p));
        }
    } else {
        const MenuItemCatalog menu(device.Flags);
        for (const TMKMenuItem &item : menu.items())
            list.append(menuItemJson(item));
    }
    out(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)));
    return kOk;
}

const CommandRegistrar
    kCatalog({kName, QStringLiteral("models | params|protocols|menu --model CODE [--version N] [--protocol INDEX]"),
              QStringLiteral("список JSON: модели (код для --model, версии настроек, название), измеряемые "
                             "параметры модели (с --protocol - одного протокола), протоколы (с --protocol - один) "
                             "или пункты горячих меню"),
              runCatalog});

} // namespace
} // namespace mk::tool
