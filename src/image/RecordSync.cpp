#include "image/RecordSync.h"

#include "base/Error.h"

#include <QStringList>

namespace mk {

SectionSnapshot::SectionSnapshot(TMK &model, std::vector<int> sections)
    : m_model(model), m_sections(std::move(sections))
{
    for (int k : m_sections)
        m_saved.push_back(m_model.record(k));
    for (int k : m_sections)
        m_model.decodeSection(k);
}

void SectionSnapshot::commit()
{
    for (int k : m_sections)
        m_model.encodeSection(k);
}

void SectionSnapshot::rollback()
{
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_model.record(m_sections[i]) = m_saved[i];
}

QString sectionList(const QList<int> &sections)
{
    QStringList parts;
    for (int k : sections)
        parts.append(QString::number(k));
    return parts.join(QStringLiteral(", "));
}

QString incompleteSettingsWarning(const TMK &model)
{
    const QList<int> missing = model.missingSections();
    if (missing.isEmpty())
        return {};
    return QStringLiteral("В файле нет секций %1, описанных в его заголовке (файл обрезан или повреждён). "
                          "Настройки можно просмотреть, но записать их в МК нельзя.")
        .arg(sectionList(missing));
}

void requireCompleteSettings(const TMK &model)
{
    const QList<int> missing = model.missingSections();
    if (!missing.isEmpty())
        throw Error(QStringLiteral("В настройках нет секций %1, описанных в их заголовке. "
                                   "Запись в МК не выполнена, МК не изменён.")
                        .arg(sectionList(missing)));
}

TMK mergeRecords(const TMK &edited, quint16 modelCode, const QByteArray &deviceImage)
{
    TMK merged;
    merged.replaceImage(modelCode, deviceImage);
    for (int k = 0; k < kSectionCount; ++k)
        if (k != kUndecodedSection && edited.sectionHeld(k))
            merged.record(k) = edited.record(k);
    merged.encodeAll();
    return merged;
}

} // namespace mk
