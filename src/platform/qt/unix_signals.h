// Routes SIGTERM, SIGINT and SIGHUP into Qt's event loop. Left to their default
// action they kill the program without any of its code running, so the window
// would never be unloaded and the clipboard never handed to a clipboard manager.
#pragma once

#include <functional>

class QObject;

namespace colfix {

// From now on each of the three signals runs `close` on the event loop's thread
// (the caller closes the window there, as its close box would). A signal that
// was ignored when the program started stays ignored, as `nohup` intends.
// `owner` keeps the watcher alive; call this once, after the application object
// exists.
void CloseOnTerminationSignals(QObject& owner, std::function<void()> close);

// Gives the three signals back the actions they had before, once the event
// loop has ended and nothing reads the wake-ups any more: a signal during the
// clean-up after it then ends the program at once instead of being lost.
void RestoreTerminationSignals();

}  // namespace colfix
