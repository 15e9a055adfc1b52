// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of HACKING's recipes that nothing else notices when skipped: every setting's page is
// a row of settingsPages(), and no caption or choice of the settings descriptions is typed again
// in the editor or in mktool (the pages read them from the settings layer).

#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "settings/NamedSettings.h"
#include "settings/SettingsPages.h"
#include "settings/SpecialCaptions.h"
#include "support/QtPrinters.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace mk;

namespace {

// Every caption and choice the descriptions hold, on a model with every page.
QSet<QString> describedTexts()
{
    TMK model;
    model.replaceImage(0x8002, makeFactoryImage(0x8002, 0));
    const SettingsContext ctx = SettingsContext::lenient(model);
    QSet<QString> texts;
    for (const NamedSetting &s : namedSettings()) {
        texts << settingCaption(s, ctx);
        if (s.field) {
            texts << s.field->caption << s.field->altCaption;
            for (const QString &item : s.field->items)
                texts << item;
        }
    }
    texts << colourSchemeCaption() << blocksShowCaption();
    for (const QStringList &items : {colourSchemeItems(), blocksShowItems(), blocksShowListItems()})
        for (const QString &item : items)
            texts << item;
    for (int i = 0; i < 32; ++i)
        texts << colourRoleCaption(i) << hotMenuCaption(i) << paletteColourCaption(i);
    texts << displayVariantCaption(4) << displayVariantCaption(9);
    // Short items ("1", "Да") are words, not captions: another control may say them too; so do
    // these, as a page, a group or a column of their own.
    const QSet<QString> words = {QStringLiteral("Средние"), QStringLiteral("Протокол"), QStringLiteral("Название"),
                                 QStringLiteral("Меню"),    QStringLiteral("Общие"),    QStringLiteral("Поездка")};
    QSet<QString> captions;
    for (const QString &t : texts)
        if (t.trimmed().size() >= 4 && !words.contains(t))
            captions << t;
    return captions;
}

} // namespace

TEST(Recipes, EverySettingLivesOnARowOfSettingsPages)
{
    for (const NamedSetting &s : namedSettings())
        EXPECT_EQ(settingsPage(s.page).id, s.page) << s.name.toStdString() << " on " << int(s.page);
}

TEST(Recipes, NoCaptionIsTypedASecondTime)
{
    const QSet<QString> captions = describedTexts();
    ASSERT_GT(captions.size(), 300);
    QStringList typedAgain;
    for (const char *folder : {"src/editor", "tools/mktool"}) {
        QDirIterator it(QStringLiteral(MK_SOURCE_ROOT "/") + QLatin1String(folder),
                        QStringList{QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            // The code without its comments, which may quote a caption.
            QString source = QString::fromUtf8(file.readAll());
            source.remove(QRegularExpression(QStringLiteral("//[^\n]*")));
            for (const QString &caption : captions)
                if (source.contains(QLatin1Char('"') + caption + QLatin1Char('"')))
                    typedAgain << QStringLiteral("%1: \"%2\"").arg(it.fileName(), caption);
        }
    }
    typedAgain.sort();
    EXPECT_TRUE(typedAgain.isEmpty()) << typedAgain.join(QLatin1Char('\n')).toStdString();
}
