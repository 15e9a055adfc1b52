// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seam between the editor frame (TMK_SetParamsDlg) and its special pages.
//
// The frame builds every tab sheet of pcMain and pcDisp with its objectName and caption. The simple
// pages it fills itself; a special page (colour schemes, display layouts, hot menus, tank,
// additional systems) gets its tab sheet empty and is a class of its own, in its own files under
// src/editor/, derived from EditorPage:
//
//     class ColourSchemePage : public EditorPage {
//     public:
//         ColourSchemePage(QWidget *tabSheet, EditorHost &host);   // build the controls here
//         void load() override;                                    // records -> controls
//     };
//
// and one line in specialPages() (EditorPages.cpp) that names its page:
//
//     {PageId::ColourSchemes, makePage<ColourSchemePage>},
//
// The frame constructs every page once, right after building all tab sheets, and then calls:
//   load()            when the dialog opens, in the order of specialPages() (entries before the
//                     simple fields' entry load before the simple fields), and again whenever the
//                     page asks for a reload of everything (EditorHost::reloadAll);
//   store()           before OK closes the dialog: anything the page still holds goes into the
//                     records (a page that stores every change at once has nothing to do);
//   protocolChanged() after the user chose another protocol: CurrentProtocol(host.device()),
//                     host.context() and the measured parameters offered have changed;
//   activated() / deactivated()  when its tab sheet becomes or stops being the current page.
// Every change is stored into the working records (host.model().record(k)) at once; OK keeps the
// records, Cancel restores them, so a page never needs its own undo.
//
// Shared operations on the records (Flags bits, alarm pairs, display-mask bits) are rows of the
// field table: storeField(fieldDef(FieldId::ShowDisp_4_2), host.model(), true, host.context()).

#include "settings/FieldId.h"
#include "settings/PageId.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace mk {

class TMK;
struct DeviceModel;
struct FieldContext;
class MeasParCatalog;
class MenuItemCatalog;

// What the frame offers to its pages.
class EditorHost
{
public:
    virtual ~EditorHost() = default;
    virtual TMK &model() = 0;
    // Model name, feature flags, protocol list and the current protocol.
    virtual const DeviceModel &device() const = 0;
    virtual const MeasParCatalog &measPars() const = 0;
    virtual const MenuItemCatalog &menuItems() const = 0;
    // The flags and protocol facts as the field table reads them.
    virtual const FieldContext &context() const = 0;
    // Reloads the simple fields and every special page from the records.
    virtual void reloadAll() = 0;
    // The user chose protocol `index` of the list: stores it (SettingsContext::chooseProtocol);
    // when it is a new one, the current protocol, the context and the simple fields follow and
    // every page's protocolChanged() runs. Throws RangeError for an index the field cannot hold.
    virtual void changeProtocol(int index) = 0;
    // Loads one simple field again from the records (after a page stored it).
    virtual void reloadField(FieldId field) = 0;
    // The dialog, as parent of message boxes and menus.
    virtual QWidget *dialog() = 0;
};

class EditorPage : public QObject
{
    Q_OBJECT
public:
    EditorPage(QWidget *tabSheet, EditorHost &host) : m_tabSheet(tabSheet), m_host(host) {}

    virtual void load() = 0;
    virtual void store() {}
    virtual void protocolChanged() {}
    virtual void activated() {}
    virtual void deactivated() {}

    QWidget *tabSheet() const { return m_tabSheet; }

protected:
    EditorHost &host() const { return m_host; }

private:
    QWidget *m_tabSheet;
    EditorHost &m_host;
};

using PageFactory = std::function<std::unique_ptr<EditorPage>(QWidget *tabSheet, EditorHost &host)>;

template<class Page>
std::unique_ptr<EditorPage> makePage(QWidget *tabSheet, EditorHost &host)
{
    return std::make_unique<Page>(tabSheet, host);
}

struct PageEntry
{
    std::optional<PageId> page; // none: where the simple fields load among the special pages
    PageFactory factory;        // empty for the simple fields
};

// The special pages, in loading order.
std::vector<PageEntry> specialPages();

// The function that places a simple page's table rows; nullptr for the display page, which holds
// pages, and for the pages only a special page fills. A page in neither list fails
// EditorPages.EveryPageIsBuilt.
using SimplePageBuild = void (*)(QWidget *page);
SimplePageBuild simplePageBuilder(PageId page);

} // namespace mk
