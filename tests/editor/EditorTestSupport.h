// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the editor's GUI tests: a model with a factory-fresh image, the editor opened on it.

#include "editor/TMK_SetParamsDlg.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "settings/EditSession.h"

#include <QApplication>
#include <QWidget>
#include <array>
#include <memory>

namespace mk::test {

// The image and every record of a model, to tell whether anything changed.
struct Snapshot
{
    QByteArray image;
    std::array<QByteArray, 13> records;
    explicit Snapshot(const TMK &tmk) : image(tmk.image())
    {
        for (int k = 0; k < 13; ++k)
            records[size_t(k)] = tmk.record(k).bytes();
    }
    bool operator==(const Snapshot &) const = default;
};

inline void makeModel(TMK &tmk, quint16 modelCode, quint32 version, int protocolIndex = 0)
{
    tmk.replaceImage(modelCode, makeFactoryImage(modelCode, version));
    tmk.record(10).setU16(4, quint16(protocolIndex));
    tmk.encodeSection(10);
}

// The editor open on a model, as the edit transaction opens it.
struct OpenEditor
{
    TMK tmk;
    std::unique_ptr<EditSession> session;
    std::unique_ptr<TMK_SetParamsDlg> dialog;

    OpenEditor(quint16 modelCode, quint32 version, int protocolIndex = 0)
    {
        makeModel(tmk, modelCode, version, protocolIndex);
        session = std::make_unique<EditSession>(tmk);
        dialog = std::make_unique<TMK_SetParamsDlg>(*session);
    }

    template<class W = QWidget>
    W *find(const QString &name) const
    {
        return dialog->findChild<W *>(name);
    }

    // Shows the dialog and makes it the active window, so that focus changes happen.
    void show()
    {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        dialog->activateWindow();
    }
};

} // namespace mk::test
