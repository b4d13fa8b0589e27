// BlockingCall: the call made at once on the owning thread, else queued to it and waited for.
#include "app/blocking_call.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace mv {

void BlockingCall(QObject& context, const std::function<void()>& call) {
  if (QThread::currentThread() == context.thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(&context, call, Qt::BlockingQueuedConnection);
}

}  // namespace mv
