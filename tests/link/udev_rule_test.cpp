// SPDX-License-Identifier: GPL-3.0-or-later
// The package's udev rule, run by a small interpreter of the rule language's keys it uses, on
// devices made up from the program's own identity constants: it must take exactly the devices
// the program's search takes, and leave every other device with the same USB identity alone.

#include "link/LinkTexts.h"
#include "link/PortDiscovery.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace mk::test {
namespace {

struct RuleKey
{
    QString key; // "ATTRS{idVendor}", "SUBSYSTEM", "GOTO"
    QString op;  // "==", "!=", "=", "+="
    QString value;
};
using RuleLine = QList<RuleKey>;

QList<RuleLine> parseRules(const QString &text)
{
    static const QRegularExpression keyRe(QStringLiteral(R"(\s*([A-Za-z_]+(?:\{[^}]*\})?)\s*(==|!=|\+=|=)\s*"([^"]*)\"\s*(,|$))"));
    QList<RuleLine> lines;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        RuleLine keys;
        qsizetype at = 0;
        while (at < line.size()) {
            const QRegularExpressionMatch m = keyRe.match(line, at, QRegularExpression::NormalMatch,
                                                         QRegularExpression::AnchorAtOffsetMatchOption);
            EXPECT_TRUE(m.hasMatch()) << "cannot read the rule at: " << line.mid(at).toStdString();
            if (!m.hasMatch())
                return {};
            keys << RuleKey{m.captured(1), m.captured(2), m.captured(3)};
            at = m.capturedEnd();
        }
        lines << keys;
    }
    return lines;
}

// udev's patterns: shell globs, alternatives split by '|'.
bool globMatches(const QString &pattern, const QString &value)
{
    for (const QString &alternative : pattern.split(QLatin1Char('|')))
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(alternative)).match(value).hasMatch())
            return true;
    return false;
}

// One device event: a tty node or a USB device, with the attributes of its USB device (for a
// tty, its parent).
struct Event
{
    QString action = QStringLiteral("add");
    QString subsystem;
    QString devtype;
    QHash<QString, QString> usbAttributes;
};

struct Outcome
{
    QHash<QString, QString> env;
    QString group, mode;
    QStringList tags, symlinks;
};

Outcome run(const QList<RuleLine> &rules, const Event &e)
{
    Outcome out;
    out.env[QStringLiteral("DEVTYPE")] = e.devtype;
    QString skipTo;
    for (const RuleLine &line : rules) {
        if (!skipTo.isEmpty()) {
            if (line.size() == 1 && line[0].key == QLatin1String("LABEL") && line[0].value == skipTo)
                skipTo.clear();
            continue;
        }
        bool matches = true;
        for (const RuleKey &k : line) {
            if (k.op != QLatin1String("==") && k.op != QLatin1String("!="))
                continue;
            std::optional<QString> value;
            if (k.key == QLatin1String("ACTION"))
                value = e.action;
            else if (k.key == QLatin1String("SUBSYSTEM"))
                value = e.subsystem;
            else if (k.key.startsWith(QLatin1String("ATTRS{")))
                value = e.usbAttributes.contains(k.key.mid(6).chopped(1))
                            ? std::optional<QString>(e.usbAttributes.value(k.key.mid(6).chopped(1)))
                            : std::nullopt;
            else if (k.key.startsWith(QLatin1String("ENV{")))
                value = out.env.value(k.key.mid(4).chopped(1));
            else
                ADD_FAILURE() << "a match key the test does not know: " << k.key.toStdString();
            const bool equal = value && globMatches(k.value, *value);
            // ATTRS{}=="x" fails on an attribute the device lacks.
            if (k.op == QLatin1String("==") ? !equal : equal)
                matches = false;
        }
        if (!matches)
            continue;
        for (const RuleKey &k : line) {
            if (k.key == QLatin1String("GOTO"))
                skipTo = k.value;
            else if (k.key.startsWith(QLatin1String("ENV{")) && k.op == QLatin1String("="))
                out.env[k.key.mid(4).chopped(1)] = k.value;
            else if (k.key == QLatin1String("GROUP"))
                out.group = k.value;
            else if (k.key == QLatin1String("MODE"))
                out.mode = k.value;
            else if (k.key == QLatin1String("TAG"))
                out.tags << k.value;
            else if (k.key == QLatin1String("SYMLINK"))
                out.symlinks << k.value;
        }
    }
    return out;
}

QString hex4(quint16 v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); }

QList<RuleLine> packageRules()
{
    QFile file(QStringLiteral(MK_SOURCE_ROOT "/packaging/60-mkconf.rules"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return parseRules(QString::fromUtf8(file.readAll()));
}

TEST(UdevRule, TakesTheDevicesTheSearchTakesAndNoOther)
{
    const QList<RuleLine> rules = packageRules();
    ASSERT_FALSE(rules.isEmpty());
    const QString vendor = hex4(kDeviceUsbVendor), product = hex4(kDeviceUsbProduct);
    const QString device = kDeviceMarker + QStringLiteral(" МК");
    const struct
    {
        const char *name;
        QString vendor, product, productString, manufacturer;
        QString action = QStringLiteral("add");
    } rows[] = {
        {"the word in the product string", vendor, product, device, QStringLiteral("ООО")},
        {"the word in the manufacturer string", vendor, product, QStringLiteral("CDC"), kDeviceMarker},
        {"the word inside a longer string", vendor, product, QStringLiteral("USB ") + kDeviceMarker + " v2", {}},
        {"a change event", vendor, product, device, {}, QStringLiteral("change")},
        {"the chip maker's generic identity", vendor, product, QStringLiteral("CDC RS-232 Emulation Demo"),
         QStringLiteral("Microchip Technology Inc.")},
        {"the same identity, no strings", vendor, product, {}, {}},
        {"the word, another product id", vendor, QStringLiteral("000b"), device, kDeviceMarker},
        {"the word, another vendor", QStringLiteral("0403"), product, device, kDeviceMarker},
        {"the word in another letter case", vendor, product, kDeviceMarker.toUpper(), {}},
        {"removal", vendor, product, device, kDeviceMarker, QStringLiteral("remove")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QHash<QString, QString> usb{{QStringLiteral("idVendor"), row.vendor}, {QStringLiteral("idProduct"), row.product}};
        if (!row.productString.isEmpty())
            usb[QStringLiteral("product")] = row.productString;
        if (!row.manufacturer.isEmpty())
            usb[QStringLiteral("manufacturer")] = row.manufacturer;
        // The program's own verdict on the node (QSerialPortInfo gives the product string as the
        // description on Linux).
        SerialNodeInfo node;
        node.vendorId = row.vendor.toUShort(nullptr, 16);
        node.productId = row.product.toUShort(nullptr, 16);
        node.description = row.productString;
        node.manufacturer = row.manufacturer;
        const bool taken = isTripComputerNode(node) && row.action != QLatin1String("remove");

        const Outcome tty = run(rules, Event{row.action, QStringLiteral("tty"), {}, usb});
        const Outcome usbDevice = run(rules, Event{row.action, QStringLiteral("usb"), QStringLiteral("usb_device"), usb});
        const Outcome other = run(rules, Event{row.action, QStringLiteral("input"), {}, usb});
        if (taken) {
            EXPECT_EQ(tty.group, QStringLiteral("dialout"));
            EXPECT_EQ(tty.mode, QStringLiteral("0660"));
            EXPECT_EQ(tty.tags, QStringList{QStringLiteral("uaccess")});
            EXPECT_EQ(tty.symlinks, QStringList{QStringLiteral("mk-%n")});
            EXPECT_EQ(tty.env.value(QStringLiteral("ID_MM_DEVICE_IGNORE")), QStringLiteral("1"));
            EXPECT_EQ(usbDevice.env.value(QStringLiteral("ID_MM_DEVICE_IGNORE")), QStringLiteral("1"));
            EXPECT_TRUE(usbDevice.symlinks.isEmpty());
        } else {
            for (const Outcome *o : {&tty, &usbDevice}) {
                EXPECT_TRUE(o->group.isEmpty() && o->mode.isEmpty() && o->tags.isEmpty() && o->symlinks.isEmpty());
                EXPECT_FALSE(o->env.contains(QStringLiteral("ID_MM_DEVICE_IGNORE")));
            }
        }
        // Nothing but the serial node and the USB device is touched.
        EXPECT_TRUE(other.group.isEmpty() && other.symlinks.isEmpty() &&
                    !other.env.contains(QStringLiteral("ID_MM_DEVICE_IGNORE")));
    }
}

// The interpreter itself reads what udev reads: alternatives, negation, GOTO past the rules.
TEST(UdevRule, TheInterpreterFollowsTheRuleLanguage)
{
    const QList<RuleLine> rules = parseRules(QStringLiteral("# a comment\n"
                                                            "ACTION!=\"add|change\", GOTO=\"end\"\n"
                                                            "ATTRS{product}==\"*MK*\", ENV{HIT}=\"1\"\n"
                                                            "ENV{HIT}==\"1\", SYMLINK+=\"x\"\n"
                                                            "LABEL=\"end\"\n"));
    ASSERT_EQ(rules.size(), 4);
    EXPECT_EQ(rules[0][0].op, QStringLiteral("!="));
    EXPECT_EQ(rules[1][0].key, QStringLiteral("ATTRS{product}"));
    const QHash<QString, QString> mk{{QStringLiteral("product"), QStringLiteral("a MK b")}};
    EXPECT_EQ(run(rules, Event{QStringLiteral("change"), QStringLiteral("tty"), {}, mk}).symlinks, QStringList{"x"});
    EXPECT_TRUE(run(rules, Event{QStringLiteral("remove"), QStringLiteral("tty"), {}, mk}).symlinks.isEmpty());
    EXPECT_TRUE(run(rules, Event{QStringLiteral("add"), QStringLiteral("tty"), {}, {}}).symlinks.isEmpty());
    EXPECT_TRUE(globMatches(QStringLiteral("tty|usb"), QStringLiteral("usb")));
    EXPECT_FALSE(globMatches(QStringLiteral("tty|usb"), QStringLiteral("usb_device")));
}

} // namespace
} // namespace mk::test
