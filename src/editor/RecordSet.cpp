#include "editor/RecordSet.h"

#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "settings/NamedSettings.h"

namespace mk {

RecordSet takeRecords(const TMK &model)
{
    RecordSet set;
    for (int k = 0; k < kEditedSections; ++k)
        set[size_t(k)] = model.record(k).bytes();
    return set;
}

void putRecords(TMK &model, const RecordSet &records)
{
    for (int k = 0; k < kEditedSections; ++k)
        model.record(k).bytes() = records[size_t(k)];
}

const TMK &factoryModel()
{
    static const TMK factory; // a new model holds the default records
    return factory;
}

bool settingDiffers(int section, const std::vector<FieldByte> &bytes, const RecordSet &a, const RecordSet &b)
{
    const QByteArray &x = a[size_t(section)];
    const QByteArray &y = b[size_t(section)];
    for (const FieldByte &fb : bytes) {
        if (fb.offset >= x.size() || fb.offset >= y.size())
            return x.size() != y.size();
        if ((quint8(x[fb.offset]) ^ quint8(y[fb.offset])) & fb.bits)
            return true;
    }
    return false;
}

bool settingDiffers(const NamedSetting &s, const RecordSet &a, const RecordSet &b)
{
    return settingDiffers(s.section, s.bytes, a, b);
}

void copySettingBits(TMK &model, int section, const std::vector<FieldByte> &bytes, const RecordSet &from)
{
    QByteArray &to = model.record(section).bytes();
    const QByteArray &src = from[size_t(section)];
    for (const FieldByte &fb : bytes) {
        if (fb.offset >= to.size() || fb.offset >= src.size())
            continue;
        to[fb.offset] = char((quint8(to[fb.offset]) & ~fb.bits) | (quint8(src[fb.offset]) & fb.bits));
    }
}

} // namespace mk
