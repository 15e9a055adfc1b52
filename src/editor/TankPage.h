#pragma once
// The page "Бак": the 2-point and 7-point linear calibrations of the fuel-level sensor, the
// calibration table and the tank file that carries all three across a firmware update.

#include "editor/EditorPage.h"

#include <QString>
#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace mk {

class RadioGroup;

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
    QSpinBox *addSpin(const QString &name, int min, int max, int section, int offset, bool byte = false);
    QWidget *buildTwoPointGroup();
    QWidget *buildSevenPointGroup();
    QWidget *buildTableGroup();
    QWidget *buildFileGroup();
    void updatePointRows();
    void tableLengthChanged(int length);
    void cellEdited();
    // Stores the typed cells; false (after telling the user) when a cell does not fit its field.
    bool commitTable();
    // Cells whose digits exceed their field: the first one is reported with its range, and every
    // one of them shows its stored value again; true when there was one.
    bool refuseTableCellsOutOfRange();
    void loadTable();
    QString askFileName(bool save);

    // Every spin edit with the field it shows: section, offset, uint8 or else int16.
    struct SpinField
    {
        QSpinBox *spin;
        int section;
        int offset;
        bool byte;
    };
    std::vector<SpinField> m_spins;
    QSpinBox *m_pointCount = nullptr;
    std::array<QLabel *, 7> m_pointLabels{};
    std::array<QSpinBox *, 7> m_pointCodes{};
    std::array<QSpinBox *, 7> m_pointLitres{};
    QSpinBox *m_tableLength = nullptr;
    QCheckBox *m_tableFinished = nullptr;
    RadioGroup *m_incline = nullptr;
    QTableWidget *m_table = nullptr;
    bool m_loading = false;
    bool m_tableChanged = false;
    bool m_commitQueued = false;
    QString m_fileDir;
};

} // namespace mk
