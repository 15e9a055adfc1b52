// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HeldState.h"

#include "image/TMK.h"

namespace mk {

HeldState::HeldState(QObject *parent) : QObject(parent), m_model(std::make_unique<TMK>()) {}

HeldState::~HeldState() = default;

void HeldState::setModified(bool modified)
{
    m_modified = modified;
    emit statusChanged();
}

void HeldState::setHeld(HeldSettings::Source source, const QString &name, const QDateTime &when)
{
    m_held = {source, name, when};
    emit statusChanged();
}

void HeldState::setHasSettings(bool has)
{
    m_hasSettings = has;
    emit hasSettingsChanged(has);
}

void HeldState::setJournalsOrigin(const QDateTime &readTime, const QString &source)
{
    m_journalsReadTime = readTime;
    m_journalsSource = source;
}

} // namespace mk
