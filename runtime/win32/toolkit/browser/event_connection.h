// A sink advised to an event interface of a connectable object, unadvised when it ends.
#pragma once

#include <ocidl.h>
#include <wrl/client.h>

namespace kesto::win32 {

class EventConnection {
 public:
  EventConnection() = default;
  ~EventConnection() { Disconnect(); }
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;

  // Replaces any earlier connection. False when `source` has no such events.
  bool Connect(IUnknown* source, const IID& events, IUnknown* sink);
  void Disconnect();

 private:
  Microsoft::WRL::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace kesto::win32
