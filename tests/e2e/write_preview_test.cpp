// SPDX-License-Identifier: GPL-3.0-or-later
// What a write would change, shown before the first byte is written: the comparison by page,
// a declined preview that leaves the device untouched, and mktool write --dry-run.

#include "base/FileIo.h"
#include "image/ColourSchemes.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/DeviceExchange.h"
#include "settings/NamedSettings.h"
#include "settings/RecordSet.h"
#include "settings/SettingsDiff.h"
#include "sim/SimulatedDevice.h"
#include "support/Mksim.h"
#include "support/MktoolRun.h"
#include "support/PtyDevice.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

TMK modelFrom(const PtyDevice &d)
{
    TMK model;
    model.replaceImage(d.device.config().modelCode, imageFromMemory(d.device.memory()));
    return model;
}

struct Line
{
    QString page, name, caption, before, after;
};

std::vector<Line> linesOf(const SettingsDiff &diff)
{
    std::vector<Line> lines;
    for (const DiffPage &p : diff.pages)
        for (const SettingChange &c : p.changes)
            lines.push_back({p.page, c.name, c.caption, c.shownBefore, c.shownAfter});
    return lines;
}

// Edits on simple pages and on the special pages, with the lines a reader expects for them.
struct Edits
{
    std::vector<Line> expected;

    void apply(TMK &m)
    {
        Record &s5 = m.record(5), &s10 = m.record(10), &s3 = m.record(3), &s9 = m.record(9);
        const int speed = s5.s8(0) * 2; // stored as half the speed
        s5.setU8(0, quint8(70));
        const int tank = s5.s8(2);
        s5.setU8(2, quint8(tank + 2));
        const bool gas = s10.u32(0) & (1u << 8);
        s10.setU32(0, s10.u32(0) ^ (1u << 8));
        const int litres = s3.u8(8), code = s3.u16(144);
        s3.setU8(8, quint8(litres ^ 0x01));   // tank table: litres of row 1
        s10.setU8(6, s10.u8(6) ^ 0x01);       // the previous protocol's copy: no name
        s9.setU16(124, s9.u16(124) ^ 0x0101); // hot menu 1, place 1
        s9.setU16(kColourSchemeOffset + kColourSchemeSize + 6,
                  s9.u16(kColourSchemeOffset + kColourSchemeSize + 6) ^ 0x0101);
        m.encodeAll();
        const auto yes = [](bool b) { return b ? QStringLiteral("да") : QStringLiteral("нет"); };
        expected = {
            {QStringLiteral("Источники"), QStringLiteral("GasOil"), QStringLiteral("Газобаллонное оборудование"),
             yes(gas), yes(!gas)},
            // Bits no name covers still show, under the page of the settings around them: the
            // previous protocol's copy beside the protocol.
            {QStringLiteral("Источники"), {}, QStringLiteral("Без имени: секция 10, смещение 6"), {}, {}},
            {QStringLiteral("Границы"), QStringLiteral("VelocityLimit"), QStringLiteral("Превышение скорости, км/ч"),
             QString::number(speed), QStringLiteral("140")},
            {QStringLiteral("Границы"), QStringLiteral("TankLimit"), QStringLiteral("Остаток топлива в баке, л"),
             QString::number(tank), QString::number(tank + 2)},
            {QStringLiteral("Цветовые схемы"),
             QStringLiteral("ColorScheme1.Palette3"),
             QStringLiteral("Схема пользователя: Цвет #3"),
             {},
             {}},
            {QStringLiteral("Горячие меню"),
             QStringLiteral("hmParams.0"),
             QStringLiteral("Параметры, пункт 0"),
             {},
             {}},
            {QStringLiteral("Бак"), QStringLiteral("Tarir.1"), QStringLiteral("Тарировка, точка 1 (литры, уе)"),
             QStringLiteral("%1,%2").arg(litres).arg(code), QStringLiteral("%1,%2").arg(litres ^ 0x01).arg(code)},
        };
    }
};

void expectLines(const SettingsDiff &diff, const std::vector<Line> &expected)
{
    const std::vector<Line> got = linesOf(diff);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].page, expected[i].page) << i;
        EXPECT_EQ(got[i].name, expected[i].name) << i;
        EXPECT_EQ(got[i].caption, expected[i].caption) << i;
        if (!expected[i].before.isEmpty()) {
            EXPECT_EQ(got[i].before, expected[i].before) << i;
            EXPECT_EQ(got[i].after, expected[i].after) << i;
        }
    }
}

// The preview lists the edits by page against the device's fresh memory; declining it leaves the
// device's memory exactly as it was, sends no write command and keeps no backup.
TEST(WritePreview, ListsTheEditsByPageAndADeclinedOneWritesNothing)
{
    PtyDevice d(0xFC, 0x0101);
    TMK model = modelFrom(d);
    Edits edits;
    edits.apply(model);
    const QByteArray before = d.device.memory();
    QTemporaryDir backups;
    RecordingProgress progress;
    int asked = 0;
    SettingsDiff seen;
    const auto decline = [&](const TMK &device, const TMK &toWrite) {
        ++asked;
        seen = diffSettings(device, toWrite);
        return false;
    };
    EXPECT_FALSE(writeDevice(*d.link, model, progress, backups.path(), decline));
    EXPECT_EQ(asked, 1);
    expectLines(seen, edits.expected);
    EXPECT_EQ(seen.namedCount, 6);
    EXPECT_EQ(seen.unnamedBytes, 1);
    EXPECT_EQ(d.device.memory(), before);
    EXPECT_TRUE(requestWords(d.device.requests(), command::kBeginSectionWrite).empty());
    EXPECT_TRUE(QDir(backups.path()).entryList(QDir::Files).isEmpty());

    // Accepted, the same write goes through; afterwards the device holds what was previewed.
    const std::optional<WriteOutcome> outcome =
        writeDevice(*d.link, model, progress, backups.path(), [](const TMK &, const TMK &) { return true; });
    ASSERT_TRUE(outcome);
    TMK after = modelFrom(d);
    EXPECT_TRUE(diffSettings(after, model).identical());
    // A second preview of the same settings finds nothing to change.
    bool identical = false;
    writeDevice(*d.link, model, progress, backups.path(), [&](const TMK &device, const TMK &toWrite) {
        identical = diffSettings(device, toWrite).identical();
        return false;
    });
    EXPECT_TRUE(identical);
}

// Each predefined scheme chosen as the colour page chooses it: the scheme's byte is listed once,
// under its setting (its other bits, the scheme last loaded, are not listed again without a name),
// and every page counts the settings that differ as the editor's tab counts them.
TEST(WritePreview, AChosenSchemeIsListedOnceAndCountedAsTheEditorCounts)
{
    PtyDevice d(0xFC, 0x0101);
    const TMK device = modelFrom(d);
    for (int scheme = 2; scheme <= 3; ++scheme) {
        TMK chosen = device;
        chooseColourScheme(chosen.record(kDisplaySection), scheme, false, {});
        chosen.encodeAll();
        SettingsDiff seen;
        RecordingProgress progress;
        QTemporaryDir backups;
        writeDevice(*d.link, chosen, progress, backups.path(), [&](const TMK &now, const TMK &toWrite) {
            seen = diffSettings(now, toWrite);
            return false;
        });
        QStringList byteLines;
        for (const Line &l : linesOf(seen))
            if (l.name.isEmpty())
                byteLines << l.caption;
        EXPECT_TRUE(byteLines.isEmpty()) << scheme << ": " << byteLines.join(QStringLiteral("; ")).toStdString();
        EXPECT_EQ(seen.unnamedBytes, 0) << scheme;
        ASSERT_EQ(seen.pages.size(), 1u) << scheme;
        EXPECT_EQ(seen.pages[0].page, QStringLiteral("Цветовые схемы"));
        int editorCount = 0;
        for (const NamedSetting &s : namedSettings())
            editorCount += pageCaption(s.page) == seen.pages[0].page &&
                           settingDiffers(s, takeRecords(device), takeRecords(chosen));
        EXPECT_EQ(seen.pages[0].settingCount(), editorCount) << scheme;
        EXPECT_EQ(seen.pages[0].settingCount(), int(seen.pages[0].changes.size())) << scheme;
    }
    EXPECT_TRUE(requestWords(d.device.requests(), command::kBeginSectionWrite).empty());
}

// Whatever byte of the image differs, the comparison never says "identical", and a change that
// shows alike is told apart by its raw bits.
TEST(WritePreview, ComparisonIsByteTruthful)
{
    PtyDevice d(0xFC, 0x0101);
    const TMK a = modelFrom(d);
    for (qsizetype pos = 0; pos < a.image().size(); pos += 97) {
        QByteArray image = a.image();
        image[pos] = char(image[pos] ^ 0x10);
        TMK b;
        b.replaceImage(a.modelCode(), image);
        EXPECT_FALSE(diffSettings(a, b).identical()) << pos;
    }
    TMK longer;
    longer.replaceImage(a.modelCode(), a.image() + QByteArray(1, '\0'));
    EXPECT_FALSE(diffSettings(a, longer).identical());
    TMK otherCode;
    otherCode.replaceImage(0x0102, a.image());
    EXPECT_TRUE(diffSettings(a, otherCode).modelCodesDiffer);
    EXPECT_TRUE(diffSettings(a, a).identical());

    TMK near = a;
    near.record(5).setU32(36, near.record(5).u32(36) + 1); // a correction factor one float step away
    const std::vector<Line> lines = linesOf(diffSettings(a, near));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].name, QStringLiteral("VelocityCorr"));
    EXPECT_NE(lines[0].before, lines[0].after);
}

// mktool write --dry-run reads the device, prints the same list and leaves the memory as it was.
TEST(WritePreview, DryRunPrintsTheListAndLeavesTheDeviceAlone)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    TMK model;
    {
        MksimProcess sim(
            {QStringLiteral("--model"), QStringLiteral("0x0101"), QStringLiteral("--save"), path("dev.tcset")});
        ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
        ASSERT_EQ(mktool({QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("-o"),
                          path("got.tcset")})
                      .code,
                  0);
        ASSERT_EQ(sim.stop(), 0);
    }
    loadSettingsFile(model, path("got.tcset"));
    Edits edits;
    edits.apply(model);
    saveSettingsFile(model, path("edited.tcset"));

    MksimProcess sim({QStringLiteral("--image"), path("got.tcset"), QStringLiteral("--save"), path("after.tcset")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const QStringList args = {
        QStringLiteral("write"),        path("edited.tcset"), QStringLiteral("--port"),   sim.path(),
        QStringLiteral("--backup-dir"), path("backups"),      QStringLiteral("--dry-run")};
    const ToolRun text = mktool(args);
    EXPECT_EQ(text.code, 0) << text.err.constData();
    const QString out = QString::fromUtf8(text.out);
    for (const char *line :
         {"[Источники]\nИсточники / ", "(GasOil)\t", "[Границы]\nГраницы / ", "(VelocityLimit)\t", "\t140\n",
          "[Горячие меню]\n", "Различаются настройки: 6; байты вне настроек: 1.", "Ничего не записано"})
        EXPECT_TRUE(out.contains(QString::fromUtf8(line))) << line << "\n" << out.toStdString();
    const ToolRun json = mktool(args + QStringList{QStringLiteral("--json")});
    EXPECT_EQ(json.code, 0) << json.err.constData();
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    EXPECT_FALSE(o[QStringLiteral("identical")].toBool());
    EXPECT_EQ(o[QStringLiteral("fields")].toArray().size(), 6);
    EXPECT_EQ(o[QStringLiteral("unnamed")].toArray().size(), 1);
    EXPECT_EQ(o[QStringLiteral("pages")].toArray().size(), 5); // the unnamed byte beside the protocol
    ASSERT_EQ(sim.stop(), 0);
    EXPECT_EQ(readWholeFile(path("after.tcset"), kMaxSettingsFileSize),
              readWholeFile(path("got.tcset"), kMaxSettingsFileSize));
    EXPECT_FALSE(QDir(path("backups")).exists() && !QDir(path("backups")).isEmpty());
}

} // namespace
} // namespace mk::test
