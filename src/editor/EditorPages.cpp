// The special pages of the editor, in loading order: the display-layout previews, then the simple
// fields together with the colour schemes, the hot menus, the tank, the additional systems.
// One line per page class; see EditorPage.h.

#include "editor/EditorPage.h"
#include "editor/ProtocolPage.h"

namespace mk {

std::vector<PageEntry> specialPages()
{
    return {
        {kSimpleFields, {}},
        {QStringLiteral("tsCorr"), makePage<ProtocolPage>},
    };
}

} // namespace mk
