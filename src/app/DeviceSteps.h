// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's exchanges with the trip computer: the port choice, reading the settings,
// writing them back (with the preview of what changes and the box saying how it went) and
// comparing with the device. Each runs under the progress window; errors escape as mk::Error.

#include "image/RecordSync.h"

#include <QObject>
#include <QStringList>
#include <set>

class QWidget;

namespace mk {

class DeviceLink;
class FileSteps;
class HeldState;
class TMK;

class DeviceSteps : public QObject
{
    Q_OBJECT
public:
    // `link` may be null (no device: the steps do nothing); `files` asks about unsaved edits.
    DeviceSteps(QWidget *window, DeviceLink *link, HeldState &state, FileSteps &files);

    // Whether the port is searched for automatically before each exchange.
    bool autoSearch() const { return m_auto; }
    void setAutoSearch(bool automatic) { m_auto = automatic; }

    // "Выбрать СОМ-порт вручную"
    void choosePort();
    // "Считать настройки из МК"
    void read();
    // "Записать настройки в МК"
    void write();
    // "Сравнить с МК…": read into a model of its own, the settings held stay as they are.
    void compareWithDevice();

signals:
    // The settings held were just read from the device.
    void settingsRead();

private:
    // Asked on the user-interface thread during a write, before anything is written; `take`
    // hears the units of what the device records the user ticked to write from the settings.
    bool confirmWrite(const TMK &device, const TMK &toWrite, RecordedData recorded, std::set<RecordedUnitId> &take);
    // "Восстановить" or "Отмена" (the default) after the list of newer records a restore replaces.
    static bool askToReplace(QWidget *parent, const QStringList &replaced);

    QWidget *m_window;
    DeviceLink *m_link;
    HeldState &m_state;
    FileSteps &m_files;
    bool m_auto = true;
};

} // namespace mk
