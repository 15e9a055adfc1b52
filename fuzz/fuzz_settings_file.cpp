// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a settings file: decoding it, decoding every section and the oscilloscope blocks,
// formatting every journal grid, every named setting and every screen preview of whatever loaded
// must stay inside the image, finish quickly and never crash. A setting's shown text, parsed and
// stored again, must show the same text.

#include "base/Error.h"
#include "catalogs/MeasPars.h"
#include "image/ImageDeviceModel.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "journals/JournalGrids.h"
#include "render/ScreenPreviews.h"
#include "render/ScreenRenderer.h"
#include "settings/FieldTable.h"
#include "settings/SettingsContext.h"

#include <cstddef>
#include <cstdint>

namespace {

void formatJournals(const mk::TMK &model)
{
    (void)mk::gridText(mk::journalGridRows(model.record(6), mk::JournalKind::Trip));
    (void)mk::gridText(mk::journalGridRows(model.record(6), mk::JournalKind::Tank));
    for (mk::AccumulatorSet set : mk::kAccumulatorSets) {
        try {
            (void)mk::averagesGridRows(model.record(0), set);
        } catch (const mk::Error &) {
        }
    }
    const mk::ErrorCodeFlags flags = mk::errorCodeFlags(model.record(10));
    for (int format : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1000, 77})
        (void)mk::errorGridRows(model.record(12), format, flags);
}

// Every field as the editor and mktool show it, then back through the text form: what parses
// must store and show the same again.
void formatFields(mk::TMK &model)
{
    const mk::FieldContext ctx = mk::SettingsContext::lenient(model).fields();
    for (const mk::FieldDef &def : mk::fieldTable()) {
        const QString text = mk::fieldText(def, mk::loadField(def, model, ctx), ctx);
        if (def.conversion == mk::Conversion::ProtocolIndex)
            continue; // choosing a protocol changes the context itself
        try {
            mk::storeField(def, model, mk::parseFieldText(def, text, ctx), ctx);
        } catch (const mk::Error &) {
            continue; // shown values outside the control's range are refused, not stored
        }
        if (mk::fieldText(def, mk::loadField(def, model, ctx), ctx) != text)
            __builtin_trap();
    }
}

// One screen kind and colour set per input (chosen by the input's length), to keep runs fast.
void drawPreviews(const mk::TMK &model, size_t pick)
{
    mk::FeatureFlags flags;
    try {
        flags = mk::SelectDeviceModel(model).Flags;
    } catch (const mk::Error &) {
    }
    const mk::MeasParCatalog catalog(flags);
    mk::ScreenRenderer screen;
    using K = mk::ScreenKind;
    const K kinds[] = {K::X1, K::X4, K::X9, K::X7, K::Graph, K::Arrow, K::X6, K::HotMenu};
    const K kind = kinds[pick % 8];
    const mk::ScreenPreviews previews(model.record(9), catalog, int(pick / 8 % 2));
    const int screens = kind == K::X1 ? 3 : mk::screenCount(kind);
    for (int i = 0; i < screens; ++i)
        previews.render(screen, kind, kind == K::X1 ? model.record(9).u8(i) : i);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const mk::SettingsFileContent content = mk::decodeSettingsFile(file);
        mk::TMK model;
        model.replaceImage(content.modelCode, content.image);
        model.readOscBlocks();
        formatJournals(model);
        drawPreviews(model, size);
        formatFields(model);
        model.encodeAll();
        model.decodeAll();
        (void)mk::encodeSettingsFile(model.modelCode(), model.image());
    } catch (const mk::Error &) {
    }
    return 0;
}
