// Reading and writing properties of page objects by name, through their automation interface
// (IDispatch), the way a script on the page reaches them.
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace kesto::win32 {

// A VARIANT that clears itself.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT* operator->() const { return &value_; }

 private:
  VARIANT value_;
};

HRESULT GetProperty(IDispatch* object, const wchar_t* name, Variant& value);
HRESULT PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value);
// A method with one text argument, as `object.name(argument)` in a script.
HRESULT CallWithText(IDispatch* object, const wchar_t* name, const wchar_t* argument,
                     Variant& result);

}  // namespace kesto::win32
