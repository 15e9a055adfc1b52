// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FileDrop.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace mk {

namespace {

class FileDropFilter : public QObject
{
public:
    FileDropFilter(QWidget *target, QString suffix, std::function<void(const QString &)> open)
        : QObject(target), m_suffix(std::move(suffix)), m_open(std::move(open))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (droppedFile(drag->mimeData(), m_suffix).isEmpty())
                drag->ignore();
            else
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            const QString path = droppedFile(drop->mimeData(), m_suffix);
            if (path.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // The drag source waits for the drop to end: the file opens after it, with its dialogs.
            QTimer::singleShot(0, this, [this, path] { m_open(path); });
            return true;
        }
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    QString m_suffix;
    std::function<void(const QString &)> m_open;
};

} // namespace

QString droppedFile(const QMimeData *data, const QString &suffix)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QFileInfo file(url.toLocalFile());
    if (file.isDir() || file.suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        return {};
    return file.absoluteFilePath();
}

void acceptFileDrops(QWidget *target, const QString &suffix, std::function<void(const QString &)> open)
{
    target->setAcceptDrops(true);
    target->installEventFilter(new FileDropFilter(target, suffix, std::move(open)));
}

} // namespace mk
