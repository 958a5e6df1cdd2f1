// The stand-in page object's property table and late-bound calls.
#include "fake_page_object.h"

namespace kesto::testing {

namespace {

constexpr DISPID kGetAttribute = 0;

}  // namespace

FakePageObject::~FakePageObject() {
  for (auto& [name, value] : properties_) VariantClear(&value);
}

DISPID FakePageObject::IdOf(const std::wstring& name) {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) return static_cast<DISPID>(i);
  }
  names_.push_back(name);
  return static_cast<DISPID>(names_.size() - 1);
}

void FakePageObject::SetText(const std::wstring& name, const std::wstring& value) {
  VARIANT& slot = properties_[name];
  VariantClear(&slot);
  slot.vt = VT_BSTR;
  slot.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  IdOf(name);
}

void FakePageObject::SetObject(const std::wstring& name, IDispatch* value) {
  VARIANT& slot = properties_[name];
  VariantClear(&slot);
  slot.vt = VT_DISPATCH;
  slot.pdispVal = value;
  value->AddRef();
  IdOf(name);
}

void FakePageObject::SetAttribute(const std::wstring& name, const std::wstring& value) {
  attributes_[name] = value;
}

const VARIANT& FakePageObject::Property(const std::wstring& name) {
  return properties_[name];
}

HRESULT FakePageObject::QueryInterface(REFIID iid, void** object) {
  if (iid != IID_IUnknown && iid != IID_IDispatch) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

HRESULT FakePageObject::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

// Every name is known, as on a script object that takes expandos.
HRESULT FakePageObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  for (UINT i = 0; i < count; ++i) ids[i] = IdOf(names[i]);
  return S_OK;
}

HRESULT FakePageObject::Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO*, UINT*) {
  if (id < 0 || static_cast<std::size_t>(id) >= names_.size()) return DISP_E_MEMBERNOTFOUND;
  if (id == kGetAttribute) {
    if (kind != DISPATCH_METHOD || params->cArgs != 1 || params->rgvarg[0].vt != VT_BSTR) {
      return DISP_E_BADPARAMCOUNT;
    }
    auto found = attributes_.find(params->rgvarg[0].bstrVal);
    if (found == attributes_.end()) {
      result->vt = VT_NULL;  // What the browser gives for an attribute the element lacks.
    } else {
      result->vt = VT_BSTR;
      result->bstrVal =
          SysAllocStringLen(found->second.data(), static_cast<UINT>(found->second.size()));
    }
    return S_OK;
  }
  VARIANT& slot = properties_[names_[id]];
  if (kind == DISPATCH_PROPERTYPUT) {
    if (params->cArgs != 1 || params->cNamedArgs != 1 ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_BADPARAMCOUNT;
    }
    return VariantCopy(&slot, &params->rgvarg[0]);
  }
  if (slot.vt == VT_EMPTY) return DISP_E_MEMBERNOTFOUND;
  return VariantCopy(result, &slot);
}

}  // namespace kesto::testing
