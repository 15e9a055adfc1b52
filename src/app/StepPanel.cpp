// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StepPanel.h"

#include "app/DecorativePicture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

namespace {

constexpr int kClientWidth = 810;
constexpr int kClientHeight = 401;

QFont boldened(QFont font)
{
    font.setBold(true);
    return font;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(boldened(button->font()));
    button->setMinimumHeight(30);
    // Enter presses the focused button, as in a dialog.
    button->setAutoDefault(true);
    return button;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

// A group of the step column: its labels and buttons one under another, buttons at their
// natural width.
QGroupBox *makeGroup(QWidget *parent, const char *name, const QString &title, const QList<QWidget *> &items,
                     QWidget *corner = nullptr)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    auto *column = new QVBoxLayout;
    column->setSpacing(4);
    for (QWidget *item : items) {
        item->setParent(group);
        if (qobject_cast<QPushButton *>(item))
            column->addWidget(item, 0, Qt::AlignLeft);
        else
            column->addWidget(item);
    }
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(8, 4, 8, 6);
    row->addLayout(column, 1);
    if (corner) {
        corner->setParent(group);
        row->addWidget(corner, 0, Qt::AlignRight | Qt::AlignBottom);
    }
    return group;
}

} // namespace

StepPanel::StepPanel(QWidget *parent) : QWidget(parent)
{
    // Every button and the check box carry an Alt shortcut (the underlined letter), unique in the
    // window.
    m_label5 = makeLabel(this, "Label5",
                         QStringLiteral("Внимание! Для правильной работы программы \r\nНЕОБХОДИМО \r\n"
                                        "предварительно загрузить в МК последнюю версию ПО.")
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_label5->setAlignment(Qt::AlignCenter);
    m_label5->setFont(boldened(m_label5->font()));
    QPalette red = m_label5->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_label5->setPalette(red);

    m_cbAuto = new QCheckBox(QStringLiteral("Искать МК &автоматически"), this);
    m_cbAuto->setObjectName(QStringLiteral("cbAuto"));
    m_cbAuto->setFont(boldened(m_cbAuto->font()));
    m_cbAuto->setChecked(true);
    m_bRS232 = makeButton(this, "bRS232", QStringLiteral("Выбрать СОМ-порт &вручную"));
    m_bRS232->setEnabled(false);

    m_bGetParams = makeButton(this, "bGetParams", QStringLiteral("&Считать настройки из МК"));
    m_bLoadParams = makeButton(this, "bLoadParams", QStringLiteral("Считать настройки из &файла на диске"));
    m_bEditParams = makeButton(this, "bEditParams", QStringLiteral("&Редактировать настройки"));
    m_bViewJournals = makeButton(this, "bViewJournals", QStringLiteral("Просмотреть &журналы"));
    m_bViewOsc = makeButton(this, "bViewOsc", QStringLiteral("Просмотреть данные &осциллографа"));
    m_bSaveParams = makeButton(this, "bSaveParams", QStringLiteral("Сохранить настройки в файл на &диске"));
    m_bSetParams = makeButton(this, "bSetParams", QStringLiteral("&Записать настройки в МК"));

    QGroupBox *step1 = makeGroup(
        this, "GroupBox1", QStringLiteral("Шаг 1"),
        {makeLabel(this, "Label2",
                   QStringLiteral("Для адекватного отображения возможных вариантов настроек считайте текущие "
                                  "настройки МК,")),
         m_bGetParams,
         makeLabel(this, "Label6",
                   QStringLiteral("или, если Вы ранее уже сохраняли настройки на диск, считайте файл с диска.")),
         m_bLoadParams});
    QGroupBox *step2 =
        makeGroup(this, "GroupBox2", QStringLiteral("Шаг 2"),
                  {makeLabel(this, "Label1", QStringLiteral("Произведите изменения настроек.")), m_bEditParams});
    QGroupBox *step2a =
        makeGroup(this, "GroupBox5", QStringLiteral("Шаг 2a"),
                  {makeLabel(this, "Label7", QStringLiteral("Просмотрите журналы поездок, заправок. и ошибок")),
                   m_bViewJournals});
    QGroupBox *step2b = makeGroup(
        this, "GroupBox6", QStringLiteral("Шаг 2b"),
        {makeLabel(this, "Label8", QStringLiteral("Просмотрите записанные данные осциллографа")), m_bViewOsc});
    QGroupBox *step3 = makeGroup(
        this, "GroupBox3", QStringLiteral("Шаг 3"),
        {makeLabel(this, "Label3",
                   QStringLiteral("Для возможности повторного просмотра или редактирования сохраните настройки "
                                  "на диск.")),
         m_bSaveParams});
    auto *picture = new DecorativePicture(this);
    picture->setObjectName(QStringLiteral("Image1"));
    QGroupBox *step4 =
        makeGroup(this, "GroupBox4", QStringLiteral("Шаг 4"),
                  {makeLabel(this, "Label4", QStringLiteral("Запишите настройки в МК")), m_bSetParams}, picture);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_cbAuto);
    searchRow->addStretch(1);
    searchRow->addWidget(m_bRS232);

    auto *left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(m_label5);
    left->addLayout(searchRow);
    left->addWidget(step1);
    left->addWidget(step2);
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(step2a);
    right->addWidget(step2b);
    right->addWidget(step3);
    right->addWidget(step4);
    right->addStretch(1);

    // The steps fill the client area of the tabled size; the window puts the menu bar above it and
    // the status bar below.
    setObjectName(QStringLiteral("ClientArea"));
    setFixedSize(kClientWidth, kClientHeight);
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(14);
    // The left column takes what its widest row needs, the right one the rest.
    columns->addLayout(left, 0);
    columns->addLayout(right, 1);
    setEditingEnabled(false); // until settings are held
}

bool StepPanel::editingEnabled() const { return m_bEditParams->isEnabled(); }

void StepPanel::setEditingEnabled(bool enabled)
{
    for (QPushButton *button : {m_bEditParams, m_bViewJournals, m_bViewOsc, m_bSaveParams, m_bSetParams})
        button->setEnabled(enabled);
}

void StepPanel::showAutoSearch(bool automatic)
{
    m_cbAuto->setChecked(automatic);
    m_bRS232->setEnabled(!automatic);
}

} // namespace mk
