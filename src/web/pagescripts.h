#pragma once

#include <QString>

namespace velmora {

// Shows a pane's top-level page without scroll bars; the engines run it in every frame, and frames
// keep theirs. A document without a body (a frameset is a body here; SVG and XML are not) is left
// alone; run at the document's creation, it waits for the body.
inline const QString kHideScrollBars = QStringLiteral(R"js((function () {
  if (window.top !== window) {
    return;
  }
  function hide() {
    var root = document.documentElement;
    var body = document.body;
    if (!root || !body || !root.style || !body.style) {
      return;
    }
    root.style.setProperty('overflow', 'hidden', 'important');
    body.style.setProperty('overflow', 'hidden', 'important');
  }
  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', hide);
  } else {
    hide();
  }
})();)js");

}  // namespace velmora
