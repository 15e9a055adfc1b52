// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings editor "Настройки МК": one modal dialog with every setting of sections 0..10 on the
// pages of pcMain. Each change goes into the model's working records at once; the edit transaction
// keeps them on OK and restores them on Cancel. Special pages plug in through EditorPage.h.

#include "editor/EditorPage.h"
#include "settings/FieldTable.h"

#include <QDialog>
#include <memory>
#include <vector>

class QTabWidget;

namespace mk {

class EditSession;
class EditorComfort;
class FieldBinder;
class SettingsContext;
struct SettingsPage;

class TMK_SetParamsDlg : public QDialog, public EditorHost
{
    Q_OBJECT
public:
    static constexpr int kWidth = 1021;
    static constexpr int kHeight = 562;

    explicit TMK_SetParamsDlg(EditSession &session, QWidget *parent = nullptr);
    ~TMK_SetParamsDlg() override;

    // EditorHost
    TMK &model() override;
    const DeviceModel &device() const override;
    const MeasParCatalog &measPars() const override;
    const MenuItemCatalog &menuItems() const override;
    const FieldContext &context() const override;
    void reloadAll() override;
    void changeProtocol(int index) override;
    void reloadField(FieldId field) override;
    QWidget *dialog() override { return this; }

    // The records were replaced as a whole (undo, redo, a reset): the current protocol follows
    // the stored index and every control shows the records again.
    void followRecords();
    // The session's settings context: the one every part of the editor works with.
    const SettingsContext &settings() const;

    FieldBinder &binder() { return *m_binder; }
    EditorPage *page(const QString &tabSheet) const;

public slots:
    // Stores what the focused control still holds, lets the pages store, then closes with OK.
    void accept() override;
    // Esc, Cancel and closing the window: with changes made, asks before throwing them away.
    void reject() override;

protected:
    // Enter and Return commit the field they are pressed in and leave the editor open; Ctrl+Enter
    // and a focused button's own Enter close it.
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildPages();
    QWidget *addTab(QTabWidget *tabs, const SettingsPage &page);
    // Not QDialog::open(): the visibility, first pages and values the dialog opens with.
    void openPages();
    void currentPageChanged();

    EditSession &m_session;
    QTabWidget *m_main = nullptr;
    QTabWidget *m_disp = nullptr;
    FieldBinder *m_binder = nullptr;
    struct Page
    {
        std::optional<PageId> id;
        std::unique_ptr<EditorPage> page; // null for the simple fields' place in the order
    };
    std::vector<Page> m_pages;
    EditorPage *m_activePage = nullptr;
    EditorComfort *m_comfort = nullptr;
};

} // namespace mk
