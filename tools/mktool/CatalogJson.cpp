// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogJson.h"

#include "catalogs/DeviceModel.h"
#include "catalogs/MeasPars.h"
#include "catalogs/MenuItems.h"

namespace mk::tool {

QJsonArray stringArray(const QStringList &list)
{
    QJsonArray a;
    for (const QString &s : list)
        a.append(s);
    return a;
}

namespace {

QJsonArray codeArray(const std::vector<quint8> &codes)
{
    QJsonArray a;
    for (quint8 c : codes)
        a.append(int(c));
    return a;
}

} // namespace

QJsonObject protocolSummaryJson(const TProtBase &protocol, int index)
{
    return {{QStringLiteral("index"), index},
            {QStringLiteral("code"), int(protocol.Code)},
            {QStringLiteral("name"), protocol.Name}};
}

QJsonObject protocolJson(const TProtBase &protocol, int index)
{
    QJsonObject o = protocolSummaryJson(protocol, index);
    o[QStringLiteral("error_format")] = protocol.ErrorCodeFormat;
    o[QStringLiteral("params")] = codeArray(protocol.ParamCodes);
    o[QStringLiteral("systems")] = codeArray(protocol.SystemCodes);
    o[QStringLiteral("flags")] = stringArray(protocol.optionNames());
    o[QStringLiteral("tank_channels")] = protocol.EcuTankChannels;
    QJsonArray selectors;
    for (int s = 0; s < kSubTypeSelectorCount; ++s) {
        if (protocol.SubTypeCount[size_t(s)] == 0)
            continue;
        selectors.append(QJsonObject{{QStringLiteral("index"), s},
                                     {QStringLiteral("caption"), protocol.SubTypeCaption[size_t(s)]},
                                     {QStringLiteral("items"), stringArray(protocol.offeredItems(s))}});
    }
    o[QStringLiteral("selectors")] = selectors;
    return o;
}

QJsonObject measParJson(const TMeasParBase &entry)
{
    TMeasParBase prepared = entry;
    prepared.PrepareData();
    return {{QStringLiteral("code"), int(prepared.Code)},
            {QStringLiteral("class"), prepared.ClassName},
            {QStringLiteral("name"), prepared.Name},
            {QStringLiteral("sample_text"), prepared.SampleText},
            {QStringLiteral("min_text"), prepared.MinText},
            {QStringLiteral("max_text"), prepared.MaxText},
            {QStringLiteral("gauge_kind"), prepared.GaugeKind},
            {QStringLiteral("graphable"), prepared.Graphable != 0}};
}

QJsonObject menuItemJson(const TMKMenuItem &item)
{
    return {{QStringLiteral("code"), int(item.Code)},
            {QStringLiteral("ident"), item.Ident},
            {QStringLiteral("name"), item.Name},
            {QStringLiteral("group"), int(item.Group)}};
}

} // namespace mk::tool
