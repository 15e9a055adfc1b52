// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page "Бак": the 2-point and 7-point linear calibrations of the fuel-level sensor, the
// calibration table and the tank file that carries all three across a firmware update.

#include "editor/EditorPage.h"
#include "settings/FieldId.h"

#include <QString>
#include <array>

class QLabel;
class QTableWidget;

namespace mk {

class FieldBinder;

class TankPage : public EditorPage
{
    Q_OBJECT
public:
    TankPage(QWidget *tabSheet, EditorHost &host);

    void load() override;
    // Stores table cells edited since the last store.
    void store() override;

    // The file buttons' work once a file name is chosen (the buttons ask for the name first).
    void saveToFile(const QString &path);
    void loadFromFile(const QString &path);

private:
    // The control of a field of the page, bound by the page's binder.
    QWidget *fieldControl(FieldId field, QWidget *parent, int columns = 1);
    QLabel *fieldLabel(FieldId field, QWidget *buddy, QWidget *parent);
    void fieldStored(FieldId field);
    QWidget *buildTwoPointGroup();
    QWidget *buildSevenPointGroup();
    QWidget *buildTableGroup();
    QWidget *buildFileGroup();
    void updatePointRows();
    void cellEdited();
    // Stores the typed cells; false (after telling the user) when a cell does not fit its field.
    bool commitTable();
    // Cells whose digits exceed their field: the first one is reported with its range, and every
    // one of them shows its stored value again; true when there was one.
    bool refuseTableCellsOutOfRange();
    void loadTable();
    QString askFileName(bool save);

    // The spin edits, the check box and the reference group are rows of the field table: stored
    // on the same events as every other page, and named for mktool.
    FieldBinder *m_binder = nullptr;
    std::array<QLabel *, 7> m_pointLabels{};
    QTableWidget *m_table = nullptr;
    bool m_loading = false;
    bool m_tableChanged = false;
    bool m_commitQueued = false;
    QString m_fileDir;
};

} // namespace mk
