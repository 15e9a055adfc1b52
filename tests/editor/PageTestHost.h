// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in for the editor frame: one tab sheet in a dialog-sized window, the model, the device
// model and the hot-menu catalog, so a special page can be tested on its own.

#include "catalogs/MenuItems.h"
#include "editor/EditorPage.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"

#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <stdexcept>

namespace mk::test {

class PageTestHost : public EditorHost
{
public:
    PageTestHost(quint16 modelType, quint8 variant, quint8 protocolIndex = 0)
        : m_device(SelectDeviceModel(modelType, protocolIndex, variant)), m_menu(m_device.Flags)
    {
        m_model.setModelCode(modelType);
        m_window.setObjectName(QStringLiteral("MK_SetParamsDlg"));
        m_window.resize(1021, 562);
        auto *layout = new QVBoxLayout(&m_window);
        m_sheet = new QWidget(&m_window);
        layout->addWidget(m_sheet);
    }

    template<class Page>
    Page &makePage(const QString &sheetName)
    {
        m_sheet->setObjectName(sheetName);
        auto page = std::make_unique<Page>(m_sheet, *this);
        Page &ref = *page;
        m_page = std::move(page);
        m_page->load();
        return ref;
    }

    QWidget &window() { return m_window; }
    QWidget *sheet() { return m_sheet; }
    DeviceModel &deviceModel() { return m_device; }

    TMK &model() override { return m_model; }
    const DeviceModel &device() const override { return m_device; }
    const MeasParCatalog &measPars() const override { throw std::logic_error("not offered by the test host"); }
    const MenuItemCatalog &menuItems() const override { return m_menu; }
    // The plain context: no feature flags, no protocol facts.
    const FieldContext &context() const override { return m_ctx; }
    void reloadAll() override
    {
        if (m_page)
            m_page->load();
    }
    void changeProtocol(int index) override
    {
        setCurrentProtocol(m_device, index);
        if (m_page)
            m_page->protocolChanged();
    }
    void reloadField(FieldId) override {}
    QWidget *dialog() override { return &m_window; }

private:
    TMK m_model;
    FieldContext m_ctx;
    DeviceModel m_device;
    MenuItemCatalog m_menu;
    QWidget m_window;
    QWidget *m_sheet = nullptr;
    std::unique_ptr<EditorPage> m_page;
};

} // namespace mk::test
