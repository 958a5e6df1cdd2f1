// Advising and unadvising event sinks.
#include "runtime/win32/toolkit/browser/event_connection.h"

namespace kesto::win32 {

using Microsoft::WRL::ComPtr;

bool EventConnection::Connect(IUnknown* source, const IID& events, IUnknown* sink) {
  Disconnect();
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (!source || FAILED(source->QueryInterface(IID_PPV_ARGS(&container))) ||
      FAILED(container->FindConnectionPoint(events, &point))) {
    return false;
  }
  DWORD cookie = 0;
  if (FAILED(point->Advise(sink, &cookie))) return false;
  point_ = point;
  cookie_ = cookie;
  return true;
}

void EventConnection::Disconnect() {
  if (point_) point_->Unadvise(cookie_);
  point_.Reset();
  cookie_ = 0;
}

}  // namespace kesto::win32
