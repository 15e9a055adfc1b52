// SPDX-License-Identifier: GPL-3.0-or-later
// Time to draw the screen previews: every kind once, and all previews of each editor page
// (what one refresh of the visible page redraws), including the copy into a QImage.

#include "catalogs/DeviceModel.h"
#include "catalogs/MeasPars.h"
#include "image/FactoryImage.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "render/ScreenPreviews.h"
#include "render/ScreenRenderer.h"

#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <cstdio>
#include <vector>

using namespace mk;

namespace {

struct Job
{
    ScreenKind kind;
    int index;
};

struct Page
{
    const char *name;
    std::vector<Job> previews;
};

std::vector<Job> allScreensOf(ScreenKind kind)
{
    std::vector<Job> jobs;
    for (int n = 0; n < screenCount(kind); ++n)
        jobs.push_back({kind, n});
    return jobs;
}

double millisecondsPerRun(const ScreenPreviews &previews, ScreenRenderer &screen, const std::vector<Job> &jobs,
                          int runs)
{
    QElapsedTimer timer;
    timer.start();
    qint64 checksum = 0;
    for (int r = 0; r < runs; ++r)
        for (const Job &job : jobs) {
            previews.render(screen, job.kind, job.index);
            const QImage image = QImage(reinterpret_cast<const uchar *>(screen.pixels()), ScreenRenderer::kWidth,
                                        ScreenRenderer::kHeight, QImage::Format_RGB32)
                                     .copy();
            checksum += image.pixel(160, 120);
        }
    const double perRun = double(timer.nsecsElapsed()) / 1e6 / runs;
    if (checksum == 42)
        std::puts(""); // keeps the work from being optimised away
    return perRun;
}

void row(const char *name, const QString &figure)
{
    std::printf("%s %s\n", QString::fromUtf8(name).leftJustified(38).toUtf8().constData(), qPrintable(figure));
}

QString ms(double value) { return QString::number(value, 'f', 3).rightJustified(8); }

} // namespace

int main()
{
    TMK tmk;
    tmk.replaceImage(1, makeFactoryImage(1, 1));
    const MeasParCatalog catalog(SelectDeviceModel(tmk).Flags);
    const ScreenPreviews previews(tmk.record(9), catalog, 0);
    ScreenRenderer screen;
    constexpr int kRuns = 50;

    std::printf("screen preview renderer, %d runs each, milliseconds per run\n\n", kRuns);
    row("one screen of each kind", QStringLiteral("      ms"));
    const std::pair<const char *, Job> kinds[] = {
        {"x1 (speed)", {ScreenKind::X1, 12}}, {"x4", {ScreenKind::X4, 0}},
        {"x9", {ScreenKind::X9, 0}},          {"x7", {ScreenKind::X7, 0}},
        {"graph", {ScreenKind::Graph, 0}},    {"pointer", {ScreenKind::Arrow, 0}},
        {"x6", {ScreenKind::X6, 0}},          {"hot menu", {ScreenKind::HotMenu, 0}},
    };
    double total = 0;
    for (const auto &[name, job] : kinds) {
        const double t = millisecondsPerRun(previews, screen, {job}, kRuns);
        total += t;
        row(name, ms(t));
    }
    row("all kinds once", ms(total));
    std::printf("\n");

    const Page pages[] = {
        {"Цветовые схемы: х1 и х7", {{ScreenKind::X1, 12}, {ScreenKind::X7, 0}}},
        {"Цветовые схемы: х4 и х9", {{ScreenKind::X4, 0}, {ScreenKind::X9, 0}}},
        {"Цветовые схемы: меню, граф., стрел.",
         {{ScreenKind::HotMenu, 0}, {ScreenKind::Graph, 0}, {ScreenKind::Arrow, 0}, {ScreenKind::Arrow, 1}}},
        {"Дисплеи х4 (6)", allScreensOf(ScreenKind::X4)},
        {"Дисплеи х9 (3)", allScreensOf(ScreenKind::X9)},
        {"Дисплеи х7 (4)", allScreensOf(ScreenKind::X7)},
        {"Граф. дисплеи (8)", allScreensOf(ScreenKind::Graph)},
        {"Стрел. дисплеи (8)", allScreensOf(ScreenKind::Arrow)},
        {"Дисплей х6 (1)", allScreensOf(ScreenKind::X6)},
    };
    row("one refresh of an editor page", QStringLiteral("      ms  (target: under 16 ms)"));
    double worst = 0;
    for (const Page &page : pages) {
        const double t = millisecondsPerRun(previews, screen, page.previews, kRuns);
        worst = std::max(worst, t);
        row(page.name, ms(t));
    }
    std::printf("\nslowest page: %.3f ms — %s\n", worst, worst < 16.0 ? "within the target" : "OVER THE TARGET");
    return worst < 16.0 ? 0 : 1;
}
