// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/TankPage.h"

#include "base/Error.h"
#include "editor/FieldBinder.h"
#include "editor/FieldControls.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "settings/SpecialControls.h"
#include "settings/TankFile.h"
#include "widgets/FileDrop.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"
#include "widgets/RadioGroup.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace mk {

namespace {

// Cells of the calibration table take digits only, as many as the field can hold.
class MaskedCellDelegate : public QStyledItemDelegate
{
public:
    MaskedCellDelegate(const QString &mask, QObject *parent) : QStyledItemDelegate(parent), m_mask(mask) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setInputMask(m_mask);
        return editor;
    }

private:
    QString m_mask;
};

} // namespace

TankPage::TankPage(QWidget *tabSheet, EditorHost &editorHost)
    : EditorPage(tabSheet, editorHost), m_fileDir(defaultFileFolder())
{
    auto *layout = new QGridLayout(tabSheet);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setHorizontalSpacing(12);

    auto *left = new QVBoxLayout;
    left->addWidget(buildTwoPointGroup());
    left->addWidget(buildSevenPointGroup());
    left->addStretch(1);
    layout->addLayout(left, 0, 0);
    layout->addWidget(buildTableGroup(), 0, 1);
    layout->addWidget(buildFileGroup(), 0, 2);
    layout->setColumnStretch(2, 1);

    m_binder = new FieldBinder(tabSheet, host().model(), host().context(), this);
    m_binder->bind(Binding::TankPage);
    connect(m_binder, &FieldBinder::stored, this, &TankPage::fieldStored);
    // A tank file dropped on the page loads as through "Считать настройки бака из файла".
    acceptFileDrops(tabSheet, QStringLiteral("tcoil"), [this](const QString &path) {
        m_fileDir = QFileInfo(path).absolutePath();
        loadFromFile(path);
    });
}

QWidget *TankPage::fieldControl(FieldId field, QWidget *parent, int columns)
{
    return createFieldControl(fieldDef(field), parent, columns);
}

// The field's label: the binder keeps its caption.
QLabel *TankPage::fieldLabel(FieldId field, QWidget *buddy, QWidget *parent)
{
    const FieldDef &def = fieldDef(field);
    auto *label = new QLabel(def.caption, parent);
    label->setObjectName(labelOf(def));
    label->setBuddy(buddy);
    return label;
}

void TankPage::fieldStored(FieldId field)
{
    // A new table length: the grid gets its rows; a new point count: the rows' labels follow.
    if (field == FieldId::TarirLeng)
        load();
    else if (field == FieldId::OilCalibrQuant)
        updatePointRows();
}

QWidget *TankPage::buildTwoPointGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Калибровка по 2 точкам"), tabSheet());
    group->setObjectName(QStringLiteral("gbOil2"));
    auto *grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("у.е."), group), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("литры"), group), 0, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Точка 1"), group), 1, 0);
    grid->addWidget(fieldControl(FieldId::Oil6L, group), 1, 1);
    grid->addWidget(fieldControl(FieldId::Lit6L, group), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Точка 2"), group), 2, 0);
    grid->addWidget(fieldControl(FieldId::Oil43L, group), 2, 1);
    grid->addWidget(fieldControl(FieldId::Lit43L, group), 2, 2);
    return group;
}

QWidget *TankPage::buildSevenPointGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Калибровка по 7 точкам"), tabSheet());
    group->setObjectName(QStringLiteral("gbOil7"));
    auto *grid = new QGridLayout(group);
    QWidget *pointCount = fieldControl(FieldId::OilCalibrQuant, group);
    QLabel *countLabel = fieldLabel(FieldId::OilCalibrQuant, pointCount, group);
    grid->addWidget(countLabel, 0, 0);
    grid->addWidget(pointCount, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("у.е."), group), 1, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("литры"), group), 1, 2, Qt::AlignCenter);
    static_assert(int(kCalibrationReadingFields.size()) == tank::kPointCount &&
                  int(kCalibrationLitreFields.size()) == tank::kPointCount);
    for (int k = 0; k < tank::kPointCount; ++k) {
        m_pointLabels[size_t(k)] = new QLabel(QStringLiteral("Точка %1").arg(k + 1), group);
        m_pointLabels[size_t(k)]->setObjectName(QStringLiteral("lOilCalibrArr%1").arg(k));
        grid->addWidget(m_pointLabels[size_t(k)], k + 2, 0);
        grid->addWidget(fieldControl(kCalibrationReadingFields[size_t(k)], group), k + 2, 1);
        grid->addWidget(fieldControl(kCalibrationLitreFields[size_t(k)], group), k + 2, 2);
    }
    // Hidden rows keep their place, so the group does not jump while the count changes.
    for (QWidget *w : group->findChildren<QWidget *>()) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
    }
    return group;
}

QWidget *TankPage::buildTableGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Тарированный"), tabSheet());
    group->setObjectName(QStringLiteral("gbTarir"));
    auto *grid = new QGridLayout(group);
    QWidget *tableLength = fieldControl(FieldId::TarirLeng, group);
    QLabel *lengthLabel = fieldLabel(FieldId::TarirLeng, tableLength, group);
    grid->addWidget(lengthLabel, 0, 0);
    grid->addWidget(tableLength, 0, 1);
    grid->addWidget(fieldControl(FieldId::TarirFlagFinish, group), 1, 0, 1, 2);
    // The device finds the slope itself: the binder shows it for reference only.
    QWidget *incline = fieldControl(FieldId::TarirIncline, group, 3);
    grid->addWidget(incline, 2, 0, 1, 2);

    m_table = new QTableWidget(1, 3, group);
    m_table->setObjectName(special_control::tankTable());
    m_table->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("литры"), QStringLiteral("уе")});
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setColumnWidth(0, 34);
    m_table->setColumnWidth(1, 64);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumWidth(34 + 64 + 64 + 24);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    // Up to 3 digits of litres (0..255 fit the field), up to 4 digits of sensor units.
    m_table->setItemDelegateForColumn(1, new MaskedCellDelegate(QStringLiteral("000"), m_table));
    m_table->setItemDelegateForColumn(2, new MaskedCellDelegate(QStringLiteral("0000"), m_table));
    connect(m_table, &QTableWidget::itemChanged, this, &TankPage::cellEdited);
    grid->addWidget(m_table, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return group;
}

QWidget *TankPage::buildFileGroup()
{
    auto *box = new QWidget(tabSheet());
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    const auto addText = [&](const QString &name, const QString &text) {
        auto *label = new QLabel(text, box);
        label->setObjectName(name);
        label->setWordWrap(true);
        column->addWidget(label);
        return label;
    };
    QLabel *warning = addText(QStringLiteral("Label13"),
                              QStringLiteral("Внимание! Изменять значения калибровки бака вручную не рекомендуется."));
    warning->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    addText(QStringLiteral("Label14"), QStringLiteral("Перед обновлением прошивки МК сохраните настройки бака кнопкой "
                                                      "\"Сохранить настройки бака в файл\"."));
    addText(QStringLiteral("Label44"),
            QStringLiteral("После установки новой прошивки МК и новой версии конфигуратора считайте их обратно "
                           "кнопкой \"Считать настройки бака из файла\"."));
    column->addSpacing(12);

    auto *save = new QPushButton(QStringLiteral("Со&хранить настройки бака в файл"), box);
    save->setObjectName(QStringLiteral("bOilSave"));
    connect(save, &QPushButton::clicked, this, [this] {
        if (!commitTable())
            return;
        const QString path = askFileName(true);
        if (!path.isEmpty())
            saveToFile(path);
    });
    auto *load = new QPushButton(QStringLiteral("Считать настройки бака из &файла"), box);
    load->setObjectName(QStringLiteral("bOilLoad"));
    connect(load, &QPushButton::clicked, this, [this] {
        const QString path = askFileName(false);
        if (!path.isEmpty())
            loadFromFile(path);
    });
    column->addWidget(save);
    column->addWidget(load);
    column->addStretch(1);
    return box;
}

void TankPage::load()
{
    m_loading = true;
    normalizedTarirLength(host().model().record(kTankTableSection));
    m_binder->loadAll();
    loadTable();
    m_tableChanged = false;
    m_loading = false;
    updatePointRows();
}

void TankPage::loadTable()
{
    const Record &s3 = host().model().record(kTankTableSection);
    const int length = s3.u8(tank::kTarirLeng);
    const QSignalBlocker block(m_table);
    // A table of length 0 still shows one row, empty and read-only: nothing typed there is kept.
    const int rows = qMax(length, 1);
    m_table->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const bool used = r < length;
        const QString texts[3] = {
            QString::number(r + 1),
            used ? QString::number(s3.u8(tank::kTarirLit + r)) : QString(),
            used ? QString::number(s3.s16(tank::kTarirCode + 2 * r)) : QString(),
        };
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem *item = m_table->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_table->setItem(r, c, item);
            }
            // Only changed cells are set, so a cell being edited keeps its editor as it is.
            if (item->text() != texts[c])
                item->setText(texts[c]);
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (c > 0 && used)
                flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
        }
    }
}

void TankPage::updatePointRows()
{
    // The spin edits follow the same rule through the binder.
    const int used = host().model().record(kFuelSensorSection).u8(tank::kOilCalibrQuant);
    for (int k = 0; k < tank::kPointCount; ++k)
        m_pointLabels[size_t(k)]->setVisible(k < used);
}

void TankPage::cellEdited()
{
    m_tableChanged = true;
    // Stored once the cell editor has closed, so that a message box cannot cut into it.
    if (!m_commitQueued) {
        m_commitQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_commitQueued = false;
            store();
        });
    }
}

void TankPage::store()
{
    m_binder->commitPending();
    commitTable();
}

bool TankPage::commitTable()
{
    if (!m_tableChanged)
        return true;
    // A refused pass stores nothing; the other typed cells stay for the next one.
    if (refuseTableCellsOutOfRange())
        return false;
    std::vector<TarirRowText> rows;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const QTableWidgetItem *lit = m_table->item(r, 1);
        const QTableWidgetItem *code = m_table->item(r, 2);
        rows.push_back({lit ? lit->text() : QString(), code ? code->text() : QString()});
    }
    try {
        storeTarirTable(host().model().record(kTankTableSection), rows);
    } catch (const Error &e) {
        // The table keeps what was typed and stays marked, so the next attempt stores it.
        showError(host().dialog(), e.text());
        return false;
    }
    m_tableChanged = false;
    load();
    return true;
}

bool TankPage::refuseTableCellsOutOfRange()
{
    // Each refused cell shows its stored value again; the first one is named with its range.
    const Record &s3 = host().model().record(kTankTableSection);
    const int length = std::min(int(s3.u8(tank::kTarirLeng)), tank::kTarirMaxLength);
    QString message;
    for (int r = 0; r < m_table->rowCount() && r < length; ++r) {
        for (const int column : {1, 2}) {
            QTableWidgetItem *cell = m_table->item(r, column);
            if (!cell)
                continue;
            const qint64 value = tableCellValue(cell->text());
            const int max = column == 1 ? 255 : 32767;
            if (value >= 0 && value <= max)
                continue;
            if (message.isEmpty())
                message = QStringLiteral("%1: строка %2, столбец «%3» принимает значения от 0 до %4 (введено %5).")
                              .arg(RangeError::caption())
                              .arg(r + 1)
                              .arg(column == 1 ? QStringLiteral("литры") : QStringLiteral("уе"))
                              .arg(max)
                              .arg(cell->text().trimmed());
            const int stored =
                column == 1 ? int(s3.u8(tank::kTarirLit + r)) : int(qint16(s3.u16(tank::kTarirCode + 2 * r)));
            const QSignalBlocker quiet(m_table);
            cell->setText(QString::number(stored));
        }
    }
    if (message.isEmpty())
        return false;
    showError(host().dialog(), message);
    return true;
}

QString TankPage::askFileName(bool save)
{
    QFileDialog dialog(host().dialog());
    dialog.setObjectName(save ? QStringLiteral("OilSaveDialog") : QStringLiteral("OilOpenDialog"));
    dialog.setNameFilter(QStringLiteral("Файлы настроек бака (*.tcoil)"));
    dialog.setDefaultSuffix(QStringLiteral("tcoil"));
    dialog.setDirectory(m_fileDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.selectFile(suggestedFileName(host().model(), QStringLiteral("tcoil"), QStringLiteral("бак")));
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    m_fileDir = QFileInfo(path).absolutePath();
    return path;
}

void TankPage::saveToFile(const QString &path)
{
    m_binder->commitPending();
    if (!commitTable())
        return;
    try {
        saveTankFile(path, host().model());
    } catch (const Error &e) {
        showError(host().dialog(), e.text());
    }
}

void TankPage::loadFromFile(const QString &path)
{
    try {
        loadTankFile(path, host().model());
    } catch (const Error &e) {
        showError(host().dialog(), e.text());
    }
    m_tableChanged = false;
    load();
}

} // namespace mk
