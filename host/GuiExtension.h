#pragma once

#include "host/clap/ext/Gui.h"

namespace plugkit {

// "clap.gui": the editor embedded in the host's native window ("x11" or "win32").
const clap_plugin_gui& GuiExtension();

}  // namespace plugkit
