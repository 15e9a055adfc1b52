// SPDX-License-Identifier: GPL-3.0-or-later
// The window registry against the manual's sources: every window has its page (and the anchor
// on it), the page shows the window's picture, and a window without a page says why.

#include "app/ManualPages.h"
#include "app/WindowRegistry.h"
#include "base/FileIo.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

QString manualSource(const QString &page)
{
    return QString::fromUtf8(readWholeFile(QDir(QStringLiteral(MK_MANUAL_SOURCE)).filePath(page), 1 << 22));
}

TEST(WindowRegistry, EveryWindowHasItsPagePictureAndLetters)
{
    QSet<QString> names;
    for (const WindowEntry &w : windowRegistry()) {
        SCOPED_TRACE(w.objectName.toStdString());
        EXPECT_FALSE(names.contains(w.objectName)) << "listed twice";
        names.insert(w.objectName);
        EXPECT_EQ(findWindow(w.objectName), &w);
        EXPECT_NE(w.manualPage.isEmpty(), w.noPageReason.isEmpty()) << "a page, or the reason it has none";
        if (w.manualPage.isEmpty())
            continue;
        const QString file = w.manualPage.section(u'#', 0, 0);
        const QString anchor = w.manualPage.section(u'#', 1);
        const QString text = manualSource(file);
        EXPECT_TRUE(anchor.isEmpty() || text.contains(QStringLiteral("id=\"%1\"").arg(anchor)))
            << "no section " << anchor.toStdString();
        ASSERT_FALSE(w.picture.isEmpty()) << "a window with a page has its picture";
        EXPECT_TRUE(text.contains(QStringLiteral("src=\"img/%1.png\"").arg(w.picture))) << file.toStdString();
        EXPECT_TRUE(manualSource(QStringLiteral("index.html")).contains(QStringLiteral("href=\"%1").arg(file)))
            << "the contents link to " << file.toStdString();
    }
    // The help lookup reads the same list.
    for (const auto &[window, page] : manualPageTable())
        EXPECT_EQ(findWindow(window)->manualPage, page);
    EXPECT_EQ(findWindow(QStringLiteral("NoSuchWindow")), nullptr);
}

} // namespace
} // namespace mk::test
