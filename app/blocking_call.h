// BlockingCall: runs a piece of work on the thread that owns a Qt object and waits for it.
#pragma once

#include <functional>

class QObject;

namespace mv {

/// Runs `call` on the thread of `context` and returns once it has run: at once when the caller
/// is on that thread, else through that thread's event loop (or a nested one, such as a message
/// box's), which must be serving events. `call` must not throw.
void BlockingCall(QObject& context, const std::function<void()>& call);

}  // namespace mv
