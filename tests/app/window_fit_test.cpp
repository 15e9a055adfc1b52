// SPDX-License-Identifier: GPL-3.0-or-later
// Every top-level window fits a 1280 × 720 desktop (in logical pixels, whatever the scale factor
// the test runs at), or the screen of MK_FIT_SCREEN physical pixels ("1280x1024" at 150 % leaves
// 853 × 683; MK_FIT_SKIP names windows left out): its minimum size fits the screen below the title bar, and shown, it lies within
// the screen's available area with room for its title bar.

#include "app/AccessCheck.h"
#include "app/BackupsDialog.h"
#include "app/CompareWindow.h"
#include "app/ConnectionCheckDialog.h"
#include "app/HelpWindow.h"
#include "app/TMainForm.h"
#include "app/WritePreviewDialog.h"
#include "editor/EditorTestSupport.h"
#include "settings/SettingsDiff.h"
#include "viewers/HistoryWindow.h"
#include "viewers/TMK_ViewJournalsDlg.h"
#include "viewers/TMK_ViewOscDlg.h"
#include "widgets/ScreenFit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace mk;
using namespace mk::test;

class WindowFitTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowFits()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        if (!qEnvironmentVariableIsSet("MK_FIT_SCREEN"))
            QCOMPARE(screen.size(), QSize(1280, 720));
        QTemporaryDir dir;
        AccessGuard access;
        TMK tmk;
        makeModel(tmk, 0x8002, 0, 6);
        EditSession session(tmk);
        const SettingsDiff diff = diffSettings(tmk, tmk);
        const struct
        {
            const char *name;
            std::function<std::unique_ptr<QWidget>()> make;
        } windows[] = {
            {"main window",
             [&] {
                 MainFormSetup setup;
                 setup.iniPath = dir.filePath(QStringLiteral("fit.ini"));
                 setup.programDir = dir.path();
                 setup.access = &access;
                 return std::make_unique<TMainForm>(std::move(setup));
             }},
            {"editor", [&] { return std::make_unique<TMK_SetParamsDlg>(session); }},
            {"journals", [&] { return std::make_unique<TMK_ViewJournalsDlg>(tmk, 0); }},
            {"oscilloscope", [&] { return std::make_unique<TMK_ViewOscDlg>(tmk); }},
            {"history", [&] { return std::make_unique<HistoryWindow>(dir.filePath(QStringLiteral("h.sqlite"))); }},
            {"compare", [&] { return std::make_unique<CompareWindow>(diff, QStringLiteral("Файл"), QString()); }},
            {"write preview", [&] { return std::make_unique<WritePreviewDialog>(diff); }},
            {"help", [&] { return std::make_unique<HelpWindow>(dir.path()); }},
            {"backups", [&] { return std::make_unique<BackupsDialog>(dir.path()); }},
            {"connection check",
             [&] { return std::make_unique<ConnectionCheckDialog>(nullptr, [] { return ConnectionReport(); }); }},
        };
        const QStringList skipped = qEnvironmentVariable("MK_FIT_SKIP").split(u',', Qt::SkipEmptyParts);
        for (const auto &w : windows) {
            if (skipped.contains(QLatin1String(w.name)))
                continue;
            const std::unique_ptr<QWidget> window = w.make();
            window->move(900, -40); // as a window closed half off the screen, above its top edge
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
            QVERIFY2(
                minimum.width() <= screen.width() && minimum.height() <= screen.height() - kTitleBarRoom,
                qPrintable(QStringLiteral("%1: minimum %2×%3").arg(w.name).arg(minimum.width()).arg(minimum.height())));
            // MK_FIT_PICTURES names a folder for a picture of each window as it fits.
            if (const QString dir = qEnvironmentVariable("MK_FIT_PICTURES"); !dir.isEmpty())
                window->grab().save(QStringLiteral("%1/%2.png").arg(dir, QString::fromLatin1(w.name)));
            // At a fractional scale factor a logical pixel is not a whole physical one: a window
            // as wide as the screen may come back a pixel over its edge.
            const QRect at = window->geometry();
            const QRect within = screen.adjusted(-1, -1, 1, 1);
            QVERIFY2(within.contains(at) && at.top() >= screen.top() + kTitleBarRoom - 1,
                     qPrintable(QStringLiteral("%1: %2,%3 %4×%5")
                                    .arg(w.name)
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(at.width())
                                    .arg(at.height())));
        }
    }
};

// A screen of 1280 × 720 logical pixels at the scale factor the test runs with (QT_SCALE_FACTOR),
// or of MK_FIT_SCREEN physical ones.
int main(int argc, char **argv)
{
    const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    const QList<QByteArray> physical = qgetenv("MK_FIT_SCREEN").split('x');
    const int width = physical.size() == 2 ? physical[0].toInt() : qRound(1280 * scale);
    const int height = physical.size() == 2 ? physical[1].toInt() : qRound(720 * scale);
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1, "height": %2,
                                  "logicalDpi": 96, "logicalBaseDpi": 96}]})")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    app.installEventFilter(new ScreenFitFilter(&app));
    WindowFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_fit_test.moc"
