// SPDX-License-Identifier: GPL-3.0-or-later
// The built user manual (build/manual, and Windows' in build/manual-windows): every link and
// picture of every page resolves, nothing is fetched from outside, every window the help key
// knows and every editor page has its picture, the pictures were made by this build's screenshot
// run, and neither system's manual tells of the other's commands and folders.

#include "app/ManualPages.h"
#include "app/WindowRegistry.h"
#include "base/FileIo.h"
#include "settings/SettingsPages.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

#include <map>

using namespace mk;

namespace {

const QDir kManual(QStringLiteral(MK_MANUAL_BUILD));
const QDir kWindowsManual(QStringLiteral(MK_MANUAL_BUILD "-windows")); // made by the same target

QString pageText(const QString &page, const QDir &manual = kManual)
{
    QFile f(manual.filePath(page));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// "page.html#anchor" resolves: the page exists and holds an element with that id. The Windows
// manual's pictures are the Linux one's, copied in when it is packaged.
QString unresolved(const QString &fromPage, const QString &link, const QDir &manual = kManual)
{
    const qsizetype hash = link.indexOf(QLatin1Char('#'));
    const QString path = hash < 0 ? link : link.left(hash);
    const QString anchor = hash < 0 ? QString() : link.mid(hash + 1);
    const QString target = path.isEmpty() ? fromPage : QDir::cleanPath(QFileInfo(fromPage).path() + u'/' + path);
    const QDir &holder = target.startsWith(QStringLiteral("img/")) ? kManual : manual;
    if (target.startsWith(QStringLiteral("..")) || !QFileInfo(holder.filePath(target)).isFile())
        return fromPage + QStringLiteral(": no file for ") + link;
    if (!anchor.isEmpty() && !pageText(target, manual).contains(QStringLiteral("id=\"%1\"").arg(anchor)))
        return fromPage + QStringLiteral(": no anchor for ") + link;
    return {};
}

// The words of one system that the other's manual must not use, found in the page's text.
QStringList wordsFound(const QDir &manual, const QStringList &words)
{
    QStringList found;
    for (const QString &page : manual.entryList({QStringLiteral("*.html")}, QDir::Files)) {
        const QString text = pageText(page, manual);
        for (const QString &word : words)
            if (text.contains(word, Qt::CaseInsensitive))
                found << page + QStringLiteral(": ") + word;
    }
    return found;
}

} // namespace

class ManualCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo(kManual.filePath(QStringLiteral("index.html"))).isFile() ||
            !QFileInfo(kWindowsManual.filePath(QStringLiteral("index.html"))).isFile())
            QFAIL("the manual is not built: bash build.sh manual");
    }

    void everyLinkAndPictureResolves_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("Linux") << kManual.path();
        QTest::newRow("Windows") << kWindowsManual.path();
    }

    void everyLinkAndPictureResolves()
    {
        QFETCH(QString, folder);
        const QDir manual(folder);
        static const QRegularExpression ref(QStringLiteral("(href|src)\\s*=\\s*\"([^\"]*)\""));
        QStringList faults;
        const QStringList pages = manual.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() > 10);
        for (const QString &page : pages) {
            const QString text = pageText(page, manual);
            if (text.contains(QStringLiteral("<script"), Qt::CaseInsensitive))
                faults << page + QStringLiteral(": a script");
            if (text.contains(QStringLiteral("data-system")))
                faults << page + QStringLiteral(": a part marked for one system left in");
            for (const auto &m : ref.globalMatch(text)) {
                const QString link = m.captured(2);
                if (link.contains(QLatin1Char(':')) || link.startsWith(QLatin1Char('/')))
                    faults << page + QStringLiteral(": outside the manual: ") + link;
                else if (const QString fault = unresolved(page, link, manual); !fault.isEmpty())
                    faults << fault;
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The Windows manual names no Linux command, device node or folder; the Linux one no
    // Windows installer, folder or program file. Both keep the pages the help key opens.
    void eachSystemsManualSpeaksOfItsOwnSystem()
    {
        const QStringList linuxWords = {
            QStringLiteral("apt "),     QStringLiteral("sudo"),         QStringLiteral("udev"),
            QStringLiteral("dialout"),  QStringLiteral("/dev/"),        QStringLiteral("~/.local"),
            QStringLiteral("~/.config"), QStringLiteral(".deb"),        QStringLiteral("ModemManager"),
            QStringLiteral("brltty"),   QStringLiteral("/usr/"),        QStringLiteral("/home/"),
            QStringLiteral("mksim"),    QStringLiteral("Linux"),        QStringLiteral("$ mktool")};
        const QStringList windowsWords = {QStringLiteral("setup.exe"), QStringLiteral("%LOCALAPPDATA%"),
                                          QStringLiteral("Диспетчер устройств"), QStringLiteral(".exe"),
                                          QStringLiteral("C:\\"), QStringLiteral("AppData")};
        QStringList faults = wordsFound(kWindowsManual, linuxWords);
        for (const QString &found : wordsFound(kManual, windowsWords))
            faults << QStringLiteral("Linux: ") + found;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QCOMPARE(kWindowsManual.entryList({QStringLiteral("*.html")}, QDir::Files),
                 kManual.entryList({QStringLiteral("*.html")}, QDir::Files));
        for (const auto &[window, page] : manualPageTable())
            if (const QString fault = unresolved(QStringLiteral("index.html"), page, kWindowsManual); !fault.isEmpty())
                faults << QStringLiteral("Windows, ") + window + QStringLiteral(": ") + fault;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY(pageText(QStringLiteral("connecting.html"), kWindowsManual).contains(QStringLiteral("id=\"driver\"")));
    }

    void everyWindowAndEditorPageHasItsPicture()
    {
        QStringList faults;
        for (const WindowEntry &w : windowRegistry()) {
            if (w.manualPage.isEmpty())
                continue;
            if (const QString fault = unresolved(QStringLiteral("index.html"), w.manualPage); !fault.isEmpty())
                faults << w.objectName + QStringLiteral(": ") + fault;
            if (w.picture.isEmpty())
                faults << w.objectName + QStringLiteral(": no picture named for it");
            else if (!pageText(w.manualPage.section(QLatin1Char('#'), 0, 0))
                          .contains(QStringLiteral("src=\"img/%1.png\"").arg(w.picture)))
                faults << w.objectName + QStringLiteral(": its page does not show ") + w.picture;
        }
        const QString editorPages = pageText(QStringLiteral("editor-pages.html"));
        for (const SettingsPage &p : settingsPages()) {
            if (p.shown == kNever)
                continue;
            if (!editorPages.contains(QStringLiteral("id=\"%1\"").arg(p.tab)))
                faults << p.caption + QStringLiteral(": no section in editor-pages.html");
            if (!editorPages.contains(QStringLiteral("src=\"img/editor-%1.png\"").arg(p.tab)))
                faults << p.caption + QStringLiteral(": no picture in editor-pages.html");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The manifest names the screenshot program of this build and every picture the pages show.
    void picturesComeFromThisBuild()
    {
        const QString manifest = QString::fromUtf8(readWholeFile(kManual.filePath(QStringLiteral("img/manifest.txt")), 1 << 20));
        const QFileInfo builder(QStringLiteral(MK_BIN_DIR "/screenshots_test"));
        QVERIFY(builder.isFile());
        QVERIFY2(manifest.contains(QStringLiteral("builder-modified: ") +
                                   builder.lastModified().toUTC().toString(Qt::ISODateWithMs) + u'\n'),
                 "the pictures were made by another build: bash build.sh manual");
        static const QRegularExpression img(QStringLiteral("src=\"img/([^\"]+)\""));
        QStringList missing;
        for (const QString &page : kManual.entryList({QStringLiteral("*.html")}, QDir::Files))
            for (const auto &m : img.globalMatch(pageText(page)))
                if (!manifest.contains(QStringLiteral("picture: ") + m.captured(1) + u'\n'))
                    missing << page + QStringLiteral(": ") + m.captured(1);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not made by this build's run: ") + missing.join(u' ')));
    }
};

QTEST_MAIN(ManualCheckTest)
#include "manual_check_test.moc"
