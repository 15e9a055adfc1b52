#pragma once
// Helpers shared by the viewer tests: a model holding the factory image, widget lookup,
// modal message boxes answered from a timer, and optional screenshots.

#include "model/FactoryImage.h"
#include "model/TMK.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtTest>

namespace mk::test {

inline void loadFactory(TMK &tmk, quint16 model = 1, quint32 version = 1)
{
    tmk.replaceImage(model, makeFactoryImage(model, version));
}

template<typename W>
W *find(QWidget *root, const char *name)
{
    W *w = root->findChild<W *>(QString::fromLatin1(name));
    if (!w)
        qFatal("widget %s not found", name);
    return w;
}

// Closes the next modal message box with its default button and hands back its text.
class MessageBoxCatcher
{
public:
    MessageBoxCatcher()
    {
        QTimer::singleShot(0, [this] { poll(); });
    }
    QString text() const { return m_text; }
    bool seen() const { return m_seen; }

private:
    void poll()
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            m_seen = true;
            m_text = box->text();
            box->done(QMessageBox::Ok);
            return;
        }
        if (++m_tries < 200)
            QTimer::singleShot(10, [this] { poll(); });
    }
    QString m_text;
    bool m_seen = false;
    int m_tries = 0;
};

// With MK_SCREENSHOT_DIR set, saves the widget as it is drawn to DIR/name.png.
inline void screenshot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("MK_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace mk::test
