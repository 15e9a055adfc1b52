#pragma once
// Window-manager hints Qt's window flags cannot express.

class QWidget;

namespace mk {

// A title bar with the window's caption and no buttons at all: on X11 the motif hints then allow
// moving only, so no window manager offers close, minimise or maximise. Creates the native
// window; call once the flags are final, before showing. Does nothing on other platforms.
void withoutTitleButtons(QWidget &window);

} // namespace mk
