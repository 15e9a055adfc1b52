// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CompareWindow.h"

#include "app/SettingsDiffView.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/StdStreams.h"
#include "image/SuggestedName.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TextSaveDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

CompareWindow::CompareWindow(SettingsDiff diff, const QString &otherTitle, const QString &source, QWidget *parent)
    : QDialog(parent), m_diff(std::move(diff)), m_source(source)
{
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(QStringLiteral("Сравнение настроек"));
    const QString summary = m_diff.identical() ? QStringLiteral("Настройки программы и %1 совпадают.").arg(source)
                                               : QStringLiteral("Настройки программы и %1 различаются: %2.")
                                                     .arg(source, settingCountText(m_diff.changeCount()));
    auto *label = new QLabel(summary, this);
    label->setObjectName(QStringLiteral("lSummary"));
    label->setWordWrap(true);
    // The other side first, the program's settings second, as the write preview shows the device
    // and then what is written.
    auto *view = new SettingsDiffView(m_diff, otherTitle, QStringLiteral("В программе"), this);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *save = buttons->addButton(QStringLiteral("&Сохранить как текст"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("bSaveText"));
    QPushButton *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("bClose"));
    connect(save, &QPushButton::clicked, this, &CompareWindow::saveAsClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
    resize(720, 460);
}

void CompareWindow::saveText(const QString &path) const
{
    const QString text =
        QStringLiteral("Сравнение: настройки программы и %1\n\n").arg(m_source) + diffText(m_diff, false);
    writeFileAtomically(path, textLineEnds(text.toUtf8())); // a text file as the system's editors expect it
}

void CompareWindow::saveAsClicked()
{
    const QString path = askTextSavePath(this, m_saveFolder, m_suggestedName);
    if (path.isEmpty())
        return;
    try {
        saveText(path);
    } catch (const Error &e) {
        showError(this, e.text());
    }
}

void showComparison(QWidget *parent, const TMK &held, const TMK &other, const QString &otherTitle,
                    const QString &source)
{
    CompareWindow window(diffSettings(other, held), otherTitle, source, parent);
    window.setSuggestedName(suggestedFileName(held, QStringLiteral("txt"), QStringLiteral("сравнение")));
    execDialog(window);
}

} // namespace mk
