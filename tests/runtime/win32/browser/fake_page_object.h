// A stand-in for the page's objects (the event object, an element) as the browser hands them
// over: automation objects with named properties and a getAttribute method.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace kesto::testing {

class FakePageObject final : public IDispatch {
 public:
  FakePageObject() = default;
  FakePageObject(const FakePageObject&) = delete;
  FakePageObject& operator=(const FakePageObject&) = delete;
  ~FakePageObject();

  void SetText(const std::wstring& name, const std::wstring& value);
  void SetObject(const std::wstring& name, IDispatch* value);
  void SetAttribute(const std::wstring& name, const std::wstring& value);
  // The property's value; VT_EMPTY when never set.
  const VARIANT& Property(const std::wstring& name);
  ULONG References() const { return references_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  // Lives on the test's stack: the count is only checked, never acted on.
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override;

 private:
  DISPID IdOf(const std::wstring& name);

  std::vector<std::wstring> names_{L"getAttribute"};
  std::map<std::wstring, VARIANT> properties_;
  std::map<std::wstring, std::wstring> attributes_;
  ULONG references_ = 1;
};

}  // namespace kesto::testing
