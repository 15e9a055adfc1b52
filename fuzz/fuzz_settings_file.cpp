// Any bytes as a settings file: decoding, then decoding every section and the oscilloscope
// blocks, must stay inside the image and never crash.

#include "model/Error.h"
#include "model/SettingsFile.h"
#include "model/TMK.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const mk::SettingsFileContent content = mk::decodeSettingsFile(file);
        mk::TMK model;
        model.replaceImage(content.modelCode, content.image);
        model.readOscBlocks();
        model.encodeAll();
        model.decodeAll();
        (void)mk::encodeSettingsFile(model.modelCode(), model.image());
    } catch (const mk::Error &) {
    }
    return 0;
}
