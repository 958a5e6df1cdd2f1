// Reference counting and dispatch of the event sinks.
#include "runtime/win32/toolkit/browser/event_sink.h"

namespace kesto::win32 {

HRESULT EventSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events_) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG EventSink::AddRef() {
  return ++references_;
}

ULONG EventSink::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO*, UINT*) {
  if (!params) return E_INVALIDARG;
  // A handler may close the window that owns the control; the sink lives until it returns.
  AddRef();
  OnEvent(id, *params, result);
  Release();
  return S_OK;
}

}  // namespace kesto::win32
