#pragma once

using WebKitWebContext = struct _WebKitWebContext;

namespace desktop {

// The one engine context of the application's web views. Its website data persists, as a browser's
// does, so that the session survives a relaunch: cookies in an SQLite file, local storage and the
// other stores under $XDG_DATA_HOME/kestrova, the caches under $XDG_CACHE_HOME/kestrova, both folders
// readable by the user alone. Made on first use, on the main thread.
WebKitWebContext* applicationWebContext();

}  // namespace desktop
