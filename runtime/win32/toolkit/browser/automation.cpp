// Late-bound calls on page objects.
#include "runtime/win32/toolkit/browser/automation.h"

namespace kesto::win32 {

namespace {

HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD kind, DISPPARAMS& params,
               VARIANT* result) {
  if (!object) return E_POINTER;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr);
}

}  // namespace

HRESULT GetProperty(IDispatch* object, const wchar_t* name, Variant& value) {
  DISPPARAMS none{};
  return Invoke(object, name, DISPATCH_PROPERTYGET, none, value.get());
}

HRESULT PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value) {
  VARIANT argument = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&argument, &named, 1, 1};
  return Invoke(object, name, DISPATCH_PROPERTYPUT, params, nullptr);
}

HRESULT CallWithText(IDispatch* object, const wchar_t* name, const wchar_t* argument,
                     Variant& result) {
  Variant text;
  text.get()->vt = VT_BSTR;
  text.get()->bstrVal = SysAllocString(argument);
  if (!text.get()->bstrVal) return E_OUTOFMEMORY;
  DISPPARAMS params{text.get(), nullptr, 1, 0};
  return Invoke(object, name, DISPATCH_METHOD, params, result.get());
}

}  // namespace kesto::win32
