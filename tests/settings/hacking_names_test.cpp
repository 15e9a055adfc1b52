// SPDX-License-Identifier: GPL-3.0-or-later
// HACKING.md's recipes name files, functions, types and tests: each of them still exists, so that
// a rename or a move that leaves the guide behind fails here rather than misleading its reader.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kRoot = QStringLiteral(MK_SOURCE_ROOT "/");

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What the tree holds: its files by path and by name, every identifier written in it, and the
// tests it defines ("Suite.Name").
struct Tree
{
    QSet<QString> paths, fileNames, words, tests;
};

Tree readTree()
{
    Tree tree;
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    static const QRegularExpression test(QStringLiteral("TEST(?:_F|_P)?\\(\\s*(\\w+),\\s*(\\w+)\\)"));
    const QStringList folders = {QStringLiteral("src"),  QStringLiteral("tools"),     QStringLiteral("tests"),
                                 QStringLiteral("docs"), QStringLiteral("packaging"), QStringLiteral("fuzz"),
                                 QStringLiteral("bench")};
    for (const QString &folder : folders) {
        QDirIterator it(kRoot + folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            tree.paths << path.mid(kRoot.size());
            tree.fileNames << it.fileName();
            const QString suffix = it.fileInfo().suffix();
            if (!QStringList{u"cpp"_s, u"h"_s, u"txt"_s, u"cmake"_s, u"sh"_s, u"html"_s}.contains(suffix) &&
                it.fileName() != QLatin1String("run"))
                continue;
            const QString text = readText(path);
            for (const QRegularExpressionMatch &m : word.globalMatch(text))
                tree.words << m.captured();
            for (const QRegularExpressionMatch &m : test.globalMatch(text))
                tree.tests << m.captured(1) + QLatin1Char('.') + m.captured(2);
        }
    }
    // The files at the top; their words only from the build's own (the guide must not vouch for
    // itself).
    for (const QString &top : QDir(kRoot).entryList(QDir::Files)) {
        tree.paths << top;
        if (top == QLatin1String("CMakeLists.txt") || top.endsWith(QLatin1String(".sh")))
            for (const QRegularExpressionMatch &m : word.globalMatch(readText(kRoot + top)))
                tree.words << m.captured();
    }
    return tree;
}

// Where the guide names a path from the project's top or from src/ (and tools/ for mktool's).
bool pathExists(const Tree &tree, const QString &path)
{
    if (!path.contains(QLatin1Char('/')))
        return tree.fileNames.contains(path) || tree.paths.contains(path);
    QString p = path;
    if (p.endsWith(QLatin1Char('/')))
        p.chop(1);
    for (const QString &base : {QString(), u"src/"_s, u"tools/"_s})
        if (QFileInfo::exists(kRoot + base + p))
            return true;
    return false;
}

} // namespace

TEST(Recipes, HackingNamesWhatTheTreeHolds)
{
    const QString guide = readText(kRoot + QStringLiteral("HACKING.md"));
    ASSERT_FALSE(guide.isEmpty());
    const Tree tree = readTree();
    ASSERT_TRUE(tree.words.contains(QStringLiteral("fieldTable")));

    // Generic names the guide uses for "any such file".
    const QSet<QString> placeholders = {u"Name.h"_s, u"Name_unix.cpp"_s, u"Name_win.cpp"_s, u"img/NAME.png"_s,
                                        u"m_"_s /* the members' prefix */};
    static const QRegularExpression quoted(QStringLiteral("`([^`\\n]+)`"));
    static const QRegularExpression fileLike(QStringLiteral("^[\\w./-]+\\.(cpp|h|cmake|txt|md|html|sh|rules|nsi)$|"
                                                            "^(src|tests|tools|docs|packaging)/[\\w./-]*$"));
    static const QRegularExpression call(QStringLiteral("^(?:[\\w]+(?:\\.|::|->))*([A-Za-z_]\\w*)\\(.*\\)$"));
    static const QRegularExpression testName(QStringLiteral("^([A-Z]\\w*)\\.([A-Z]\\w*)$"));
    static const QRegularExpression identifier(QStringLiteral("^(?:[A-Z]\\w*::)?([A-Za-z_]\\w*)$"));
    int checked = 0;
    for (const QRegularExpressionMatch &m : quoted.globalMatch(guide)) {
        const QString name = m.captured(1).trimmed();
        if (placeholders.contains(name) || name.contains(QChar(0x2026)) || name.contains(QLatin1Char('*')))
            continue;
        QRegularExpressionMatch part;
        if (fileLike.match(name).hasMatch()) {
            EXPECT_TRUE(pathExists(tree, name)) << "HACKING.md names a file that is not there: " << name.toStdString();
        } else if ((part = testName.match(name)).hasMatch()) {
            // A GoogleTest test, or a Qt Test class and slot.
            EXPECT_TRUE(tree.tests.contains(name) ||
                        (tree.words.contains(part.captured(1)) && tree.words.contains(part.captured(2))))
                << "HACKING.md names a test that is not there: " << name.toStdString();
        } else if ((part = call.match(name)).hasMatch() || (part = identifier.match(name)).hasMatch()) {
            EXPECT_TRUE(tree.words.contains(part.captured(1)))
                << "HACKING.md names what the tree never mentions: " << name.toStdString();
        } else {
            continue;
        }
        ++checked;
    }
    EXPECT_GT(checked, 100); // the recipes name that much; far fewer means the parsing broke
}
