// SPDX-License-Identifier: GPL-3.0-or-later
// Profiles: exported from one car's settings, applied to another's; all or nothing.

#include "base/Error.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "settings/NamedSettings.h"
#include "settings/Profile.h"
#include "support/QtPrinters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace mk;

namespace {

TMK factoryModel(quint16 code, quint32 version = 0)
{
    TMK model;
    model.replaceImage(code, makeFactoryImage(code, version));
    return model;
}

void set(TMK &model, const char *name, const QString &text)
{
    SettingsContext ctx(model);
    storeSettingText(*findNamedSetting(QString::fromUtf8(name)), model, text, ctx);
    model.encodeAll();
}

QByteArray profileOf(const std::vector<std::pair<QString, QJsonValue>> &settings)
{
    QJsonArray list;
    for (const auto &[name, value] : settings)
        list.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("value"), value}});
    return QJsonDocument(QJsonObject{{QStringLiteral("profile"), 1}, {QStringLiteral("settings"), list}}).toJson();
}

QStringList problemNames(const std::vector<ProfileProblem> &problems)
{
    QStringList names;
    for (const ProfileProblem &p : problems)
        names << p.name;
    return names;
}

// Names whose shown text differs between two models of the same kind.
QStringList changedNames(const TMK &a, const TMK &b)
{
    const SettingsContext ca = SettingsContext::lenient(a), cb = SettingsContext::lenient(b);
    QStringList names;
    for (const NamedSetting &s : namedSettings())
        if (settingText(s, a, ca) != settingText(s, b, cb))
            names << s.name;
    return names;
}

} // namespace

TEST(Profile, OnAModelWithoutVoiceExactlyTheVoiceSettingsDoNotFitAndNothingChanges)
{
    TMK source = factoryModel(0x0202); // with voice
    set(source, "hmParams.6", QStringLiteral("SoundVolumeMenu"));
    const QByteArray profile = exportProfile(source, {QStringLiteral("tsHotMenu"), QStringLiteral("Озвуч.сообщения")});
    TMK target = factoryModel(0x0302); // the same without voice
    const TMK before = target;
    const std::vector<ProfileProblem> problems = applyProfile(target, profile);
    EXPECT_EQ(problemNames(problems), (QStringList{QStringLiteral("SayHelloMode"), QStringLiteral("SoundVolume"),
                                                   QStringLiteral("SayParamPeriod"), QStringLiteral("hmParams.6")}));
    EXPECT_EQ(target.image(), before.image());
    for (int k = 0; k <= 10; ++k)
        EXPECT_EQ(target.record(k), before.record(k));

    // Without the item the list fits: hot-menu items go by identifier, so their codes follow the model.
    set(source, "hmParams.6", QString());
    TMK target2 = factoryModel(0x0302);
    EXPECT_EQ(problemNames(applyProfile(target2, exportProfile(source, {QStringLiteral("Горячие меню")}))),
              QStringList{});
    EXPECT_EQ(changedNames(source, target2).filter(QStringLiteral("hm")), QStringList{});
}

TEST(Profile, ApplyChangesExactlyTheNamedSettings)
{
    TMK target = factoryModel(0x0202);
    const TMK before = target;
    const QByteArray profile = profileOf({
        {QStringLiteral("VelocityLimit"), QStringLiteral("90")},
        {QStringLiteral("TarirLeng"), QStringLiteral("20")},
        {QStringLiteral("Tarir.20"), QStringLiteral("60,900")}, // shown only with the new length
        {QStringLiteral("ColorScheme0.Palette4"), QStringLiteral("1,2,3")},
        {QStringLiteral("ActiveColorScheme"), QStringLiteral("Схема 2")}, // applied before the colours
        {QStringLiteral("hmTax.2"), QStringLiteral("TaxFlagMinMenu")},
        {QStringLiteral("Blocks.ABS 8/9"), QStringLiteral("1")},
        {QStringLiteral("TimeCorr"), QStringLiteral("0")}, // as it is already
    });
    const std::vector<ProfileProblem> problems = applyProfile(target, profile);
    ASSERT_TRUE(problems.empty()) << problems.front().name.toStdString() << ": "
                                  << problems.front().message.toStdString();
    QStringList changed = changedNames(before, target);
    // Choosing scheme 2 loads its table into set 0: the colours it brings change with it.
    const QStringList schemeTable = changed.filter(QStringLiteral("ColorScheme0."));
    for (const QString &name : schemeTable)
        changed.removeAll(name);
    EXPECT_EQ(changed, (QStringList{QStringLiteral("VelocityLimit"), QStringLiteral("TarirLeng"),
                                    QStringLiteral("ActiveColorScheme"), QStringLiteral("hmTax.2"),
                                    QStringLiteral("Tarir.20"), QStringLiteral("Blocks.ABS 8/9")}));
    SettingsContext ctx(target);
    EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("ColorScheme0.Palette4")), target, ctx),
              QStringLiteral("1,2,3"));
    EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("Tarir.20")), target, ctx), QStringLiteral("60,900"));
    // The image holds the result, as after the editor's OK.
    TMK reloaded;
    reloaded.replaceImage(target.modelCode(), target.image());
    EXPECT_EQ(changedNames(target, reloaded), QStringList{});
}

TEST(Profile, DamagedOrUnknownEntriesAreListedAndNothingChanges)
{
    const struct
    {
        QByteArray json;
        QStringList names;
        quint16 model = 0x0202;
        quint32 version = 0;
    } rows[] = {
        {"{\"profile\": 1, \"settings\": [", {QString()}},
        {"{\"profile\": 7, \"settings\": []}", {QString()}},
        {profileOf({{QStringLiteral("NoSuchSetting"), QStringLiteral("1")},
                    {QStringLiteral("VelocityLimit"), true},
                    {QStringLiteral("TimeCorr"), QStringLiteral("5")},
                    {QStringLiteral("TimeCorr"), QStringLiteral("6")},
                    {QStringLiteral("VelocityLimit"), QStringLiteral("900")}}),
         {QStringLiteral("NoSuchSetting"), QStringLiteral("VelocityLimit"), QStringLiteral("TimeCorr"),
          QStringLiteral("VelocityLimit")}},
        // A number typed in by hand is taken as its text.
        {profileOf({{QStringLiteral("VelocityLimit"), 90}, {QStringLiteral("TimeCorr"), -5}}), {}},
        // A key given twice would quietly mean its last value.
        {R"({"profile": 1, "settings": [{"name": "VelocityLimit", "value": "90", "value": "100"}]})", {QString()}},
        {R"({"profile": 1, "profile": 1, "settings": []})", {QString()}},
        {R"({"profile": 1, "settings": [{"name": "UniMeasStr", "value": "Oil ☺"}]})", {QStringLiteral("UniMeasStr")}},
        // What the editor would not let be changed on a model without parking, universal input and
        // voice: a hidden page, a speech mode, a setting shown for reference only.
        {profileOf({{QStringLiteral("ParkStopLeng1"), QStringLiteral("100")},
                    {QStringLiteral("UniMeasStr"), QStringLiteral("Бар")},
                    {QStringLiteral("apVel_F"), QStringLiteral("Г")},
                    {QStringLiteral("TarirIncline"), QStringLiteral("Прямой")}}),
         {QStringLiteral("apVel_F"), QStringLiteral("ParkStopLeng1"), QStringLiteral("UniMeasStr"),
          QStringLiteral("TarirIncline")},
         0x0C01},
        // The ADC points must differ: the first waits until the second has moved away.
        {profileOf({{QStringLiteral("UniMeasADC0"), QStringLiteral("1023")},
                    {QStringLiteral("UniMeasADC1"), QStringLiteral("500")}}),
         {},
         0x0A01,
         10},
    };
    EXPECT_THROW(exportProfile(factoryModel(0x0202), {QStringLiteral("Бак"), QStringLiteral("tsNoSuchPage")}), Error);
    for (const auto &row : rows) {
        TMK model = factoryModel(row.model, row.version);
        const TMK before = model;
        const std::vector<ProfileProblem> problems = applyProfile(model, row.json);
        EXPECT_EQ(problemNames(problems), row.names) << row.json.constData();
        if (!row.names.isEmpty()) {
            EXPECT_EQ(model.image(), before.image());
        }
    }
}
