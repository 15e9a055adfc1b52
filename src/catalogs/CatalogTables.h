// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Row types of the constant catalog tables; only the catalog builders read them.

#include "catalogs/FeatureFlags.h"
#include "catalogs/Prots.h"

#include <QtGlobal>

#include <array>
#include <vector>

namespace mk::catalog_data {

// Measured parameters: 54 rows in catalog order.
struct MeasParRow
{
    const char *className;
    int code;
    const char *literalSample; // nullptr: the sample text is made from sampleValue
    int sampleValue;
    int sampleDivisor; // 1: written as an integer; 10 or 100: written with Decimals digits
    int sampleWidth;
    int minValue, maxValue, axisMin, axisMax;
    int width, decimals, gaugeKind, graphable, rangeFlag;
    const char *name, *longCaption, *cellName, *cellUnit, *lineName, *lineUnit, *gridLabel, *gaugeName, *gaugeUnit,
        *graphCaption;
};
constexpr int kMeasParRowCount = 54;
extern const std::array<MeasParRow, kMeasParRowCount> kMeasParRows;

// ECU protocols: one definition per row, in build order. Two codes have alternative
// definitions, chosen by the model.
enum class ProtocolVariant {
    Always,
    WithExtendedSystems,
    WithoutExtendedSystems,
    ModelType3073,
    OtherModelTypes,
};
struct SelectorDef
{
    int index;
    const char *caption;
    std::vector<const char *> items;
};
struct ProtocolDef
{
    int code;
    const char *name;
    int errorCodeFormat;
    int ecuTankChannels;
    ProtocolVariant variant;
    std::vector<bool TProtBase::*> setFlags;
    std::vector<bool TProtBase::*> clearedFlags;
    std::vector<quint8> extraParams;
    std::vector<quint8> systems;
    std::vector<SelectorDef> selectors;
};
const std::vector<ProtocolDef> &protocolDefinitions();

// Model table rows: a model type with a variant range (0..255 for "any").
struct ModelRow
{
    quint16 modelType;
    int firstVariant;
    int lastVariant;
    const char *name;
    std::vector<bool FeatureFlags::*> flags;
    std::vector<quint8> protocolCodes; // in list order
};
const std::vector<ModelRow> &modelRows();

// Hot-menu items with both feature flags clear: row i has code i + 1.
struct MenuItemRow
{
    const char *ident;
    const char *caption;
    int group;
};
constexpr int kMenuItemRowCount = 169;
extern const std::array<MenuItemRow, kMenuItemRowCount> kMenuItemRows;

} // namespace mk::catalog_data
