#pragma once

#include "host/clap/ext/Gui.h"

namespace plugkit {

// "clap.gui": the editor embedded in the host's X11 window.
const clap_plugin_gui& GuiExtension();

}  // namespace plugkit
