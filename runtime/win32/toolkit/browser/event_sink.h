// The base of the event sinks the browser control calls through its connection points: an
// IDispatch without type information that answers for one event interface.
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace kesto::win32 {

class EventSink : public IDispatch {
 public:
  explicit EventSink(const IID& events) : events_(events) {}
  EventSink(const EventSink&) = delete;
  EventSink& operator=(const EventSink&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override;

 protected:
  virtual ~EventSink() = default;
  // One event; `result` may be null.
  virtual void OnEvent(DISPID id, const DISPPARAMS& params, VARIANT* result) = 0;

 private:
  const IID events_;
  ULONG references_ = 1;
};

}  // namespace kesto::win32
