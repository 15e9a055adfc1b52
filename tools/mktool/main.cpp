// mktool: the configurator's engine on the command line.

#include "Command.h"
#include "base/Error.h"
#include "image/RecordSync.h"
#include "image/SettingsFile.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace mk::tool {

std::vector<Command> &commands()
{
    static std::vector<Command> list;
    return list;
}

void out(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void err(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

int usageError(const QString &command, const QString &message)
{
    err(QStringLiteral("mktool %1: %2\n").arg(command, message));
    for (const Command &c : commands())
        if (c.name == command)
            err(QStringLiteral("usage: mktool %1 %2\n").arg(c.name, c.usage));
    return kUsage;
}

Args::Args(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions)
{
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            m_positional << a;
            continue;
        }
        QString inlineValue;
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        const bool hasInline = eq > 0;
        if (hasInline) {
            inlineValue = a.mid(eq + 1);
            a = a.left(eq);
        }
        if (valueOptions.contains(a)) {
            if (hasInline)
                m_values[a] = inlineValue;
            else if (i + 1 < args.size())
                m_values[a] = args[++i];
            else
                m_error = QStringLiteral("option %1 needs a value").arg(a);
        } else if (flagOptions.contains(a) && !hasInline) {
            m_flags << a;
        } else {
            m_error = QStringLiteral("unknown option %1").arg(a);
        }
    }
}

quint32 parseNumber(const QString &text, const QString &what, quint32 max)
{
    bool ok = false;
    const qulonglong v = text.trimmed().toULongLong(&ok, 0);
    if (!ok || v > max)
        throw Error(QStringLiteral("Недопустимое значение %1: \"%2\"").arg(what, text));
    return quint32(v);
}

void loadSettings(TMK &model, const QString &path)
{
    loadSettingsFile(model, path);
    const QString warning = incompleteSettingsWarning(model);
    if (!warning.isEmpty())
        err(QStringLiteral("Предупреждение: %1\n").arg(warning));
}

namespace {

void printHelp()
{
    std::vector<Command> list = commands();
    std::sort(list.begin(), list.end(), [](const Command &a, const Command &b) { return a.name < b.name; });
    QString text = QStringLiteral("mktool: settings files and devices of the МК trip computers on the command line\n\n"
                                  "usage: mktool COMMAND [ARGS]\n\ncommands:\n");
    for (const Command &c : list)
        text += QStringLiteral("  mktool %1 %2\n      %3\n").arg(c.name, c.usage, c.summary);
    text +=
        QStringLiteral("\nexit codes:\n"
                       "  0  success\n"
                       "  1  the operation failed (bad file, device error, refused value); the message is on stderr\n"
                       "  2  bad command line\n"
                       "  3  cancelled by the user\n");
    out(text);
}

} // namespace

} // namespace mk::tool

int main(int argc, char **argv)
{
    using namespace mk::tool;
    // Drawing text needs a GUI application's fonts; it draws off screen, no display is used.
    const bool draws = argc > 1 && qstrcmp(argv[1], "osc") == 0;
    if (draws)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(draws ? new QGuiApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        printHelp();
        return args.isEmpty() ? kUsage : kOk;
    }
    const QString name = args.takeFirst();
    for (const Command &c : commands()) {
        if (c.name != name)
            continue;
        if (args.contains(QLatin1String("--help"))) {
            out(QStringLiteral("usage: mktool %1 %2\n%3\n").arg(c.name, c.usage, c.summary));
            return kOk;
        }
        try {
            return c.run(args);
        } catch (const mk::Error &e) {
            err(e.text() + QLatin1Char('\n'));
            return kFailed;
        } catch (const std::exception &e) {
            err(QStringLiteral("Ошибка: %1\n").arg(QString::fromUtf8(e.what())));
            return kFailed;
        }
    }
    err(QStringLiteral("mktool: unknown command \"%1\"; see mktool --help\n").arg(name));
    return kUsage;
}
