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

// A click on a link with a download attribute starts a download without a navigation, and the
// WebView2 runtime marks as the user's only navigations and new windows. The click opens the
// link's address as a new window instead, which the runtime then marks as the user's, like any
// other; a click by script is left alone. Run in every frame, before the page's own scripts.
inline const QString kDownloadLinksAsWindows = QStringLiteral(R"js((function () {
  var open = window.open;
  window.addEventListener('click', function (event) {
    var link = event.target instanceof Element ? event.target.closest('a[download][href]') : null;
    if (!link || !event.isTrusted || event.defaultPrevented || event.button !== 0) {
      return;
    }
    event.preventDefault();
    open.call(window, link.href, '_blank');
  });
})();)js");

}  // namespace velmora
