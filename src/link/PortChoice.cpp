#include "link/PortChoice.h"

#include "link/AccessCheck.h"
#include "link/LinkTexts.h"
#include "link/TKW_RS_Base.h"
#include "base/Error.h"

namespace mk {

QList<PortChoiceItem> portChoiceItems(const TKW_RS_Base &link, int *preselected)
{
    QList<PortChoiceItem> items;
    if (preselected)
        *preselected = -1;
    // The trip computer's own ports (those its stable name leads to) first, then the others,
    // each in number order.
    for (const bool linked : {true, false}) {
        for (int n = 1; n <= 32; ++n) {
            if (!link.PortPresent(n) || link.portDeviceLink(n).isEmpty() != !linked)
                continue;
            if (preselected && n == link.PortNumber())
                *preselected = int(items.size());
            items << PortChoiceItem{n, link.portDisplayName(n)};
        }
    }
    return items;
}

bool SelectPortDialog(TKW_RS_Base &link, AccessGuard &access, PasswordPrompt &prompt, PortChooser &chooser)
{
    if (!access.CheckAccess(prompt))
        return false;
    link.ClosePort();
    if (link.ScanPorts() == 0)
        throw Error(kNoFreePortText);
    int preselected = -1;
    const QList<PortChoiceItem> items = portChoiceItems(link, &preselected);
    int chosen = link.PortNumber();
    if (const std::optional<int> index = chooser.choosePort(items, preselected); index && *index >= 0 && *index < items.size())
        chosen = items[*index].number;
    link.ClosePort();
    link.OpenPort(chosen);
    return true;
}

bool SelectBaudDialog(TKW_RS_Base &link, AccessGuard &access, PasswordPrompt &prompt, BaudChooser &chooser)
{
    if (!access.CheckAccess(prompt))
        return false;
    const std::optional<quint32> rate = chooser.chooseBaud(link.BaudRate());
    if (!rate)
        return false;
    const quint32 old = link.BaudRate();
    link.SetBaudRate(*rate);
    if (link.BaudRate() != *rate) {
        link.SetBaudRate(old);
        throw Error(kBaudRefusedText);
    }
    return true;
}

} // namespace mk
