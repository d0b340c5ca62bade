#pragma once

namespace velmora {

class PaneEngine;

// The browser panes on the system's WebView2 runtime, built into the Windows program.
PaneEngine& WebView2PaneEngine();

}  // namespace velmora
