// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings the main window holds: the image, where it came from, whether it was edited since,
// and when and where its journals were read (for the trip history). The window's steps change it;
// the buttons, menus and status bar follow its signals.

#include "app/HeldStatus.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>

namespace mk {

class TMK;

class HeldState : public QObject
{
    Q_OBJECT
public:
    explicit HeldState(QObject *parent = nullptr);
    ~HeldState() override;

    TMK &model() { return *m_model; }
    const TMK &model() const { return *m_model; }
    bool modified() const { return m_modified; }
    const HeldSettings &held() const { return m_held; }
    // Whether settings are held at all, so that they can be edited, saved, compared and written.
    bool hasSettings() const { return m_hasSettings; }
    const QDateTime &journalsReadTime() const { return m_journalsReadTime; }
    const QString &journalsSource() const { return m_journalsSource; }

    void setModified(bool modified);
    void setHeld(HeldSettings::Source source, const QString &name, const QDateTime &when = {});
    void setHasSettings(bool has);
    void setJournalsOrigin(const QDateTime &readTime, const QString &source);

signals:
    // Where the settings came from, or whether they are edited, changed.
    void statusChanged();
    void hasSettingsChanged(bool has);

private:
    std::unique_ptr<TMK> m_model;
    bool m_modified = false;
    bool m_hasSettings = false;
    HeldSettings m_held;
    QDateTime m_journalsReadTime;
    QString m_journalsSource;
};

} // namespace mk
