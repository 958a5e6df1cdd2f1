// The client site and frame of the hosted browser control.
#include "runtime/win32/toolkit/browser/site.h"

namespace kesto::win32 {

HRESULT BrowserSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (iid == __uuidof(IDocHostUIHandler)) {
    *object = static_cast<IDocHostUIHandler*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG BrowserSite::AddRef() {
  return ++references_;
}

ULONG BrowserSite::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT BrowserSite::SaveObject() {
  return E_NOTIMPL;
}
HRESULT BrowserSite::GetMoniker(DWORD, DWORD, IMoniker**) {
  return E_NOTIMPL;
}

HRESULT BrowserSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

HRESULT BrowserSite::ShowObject() {
  return S_OK;
}
HRESULT BrowserSite::OnShowWindow(BOOL) {
  return S_OK;
}
HRESULT BrowserSite::RequestNewObjectLayout() {
  return E_NOTIMPL;
}

HRESULT BrowserSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return S_OK;
}

HRESULT BrowserSite::ContextSensitiveHelp(BOOL) {
  return E_NOTIMPL;
}
HRESULT BrowserSite::CanInPlaceActivate() {
  return S_OK;
}
HRESULT BrowserSite::OnInPlaceActivate() {
  return S_OK;
}
HRESULT BrowserSite::OnUIActivate() {
  return S_OK;
}

HRESULT BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                      RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* info) {
  if (!frame || !doc || !position || !clip || !info) return E_POINTER;
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *doc = nullptr;
  *position = area_;
  *clip = area_;
  info->fMDIApp = FALSE;
  info->hwndFrame = window_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT BrowserSite::Scroll(SIZE) {
  return E_NOTIMPL;
}
HRESULT BrowserSite::OnUIDeactivate(BOOL) {
  return S_OK;
}
HRESULT BrowserSite::OnInPlaceDeactivate() {
  return S_OK;
}
HRESULT BrowserSite::DiscardUndoState() {
  return E_NOTIMPL;
}
HRESULT BrowserSite::DeactivateAndUndo() {
  return E_NOTIMPL;
}
// The control keeps the area the window gives it.
HRESULT BrowserSite::OnPosRectChange(LPCRECT) {
  return S_OK;
}

HRESULT BrowserSite::GetBorder(RECT*) {
  return INPLACE_E_NOTOOLSPACE;
}
HRESULT BrowserSite::RequestBorderSpace(LPCBORDERWIDTHS) {
  return INPLACE_E_NOTOOLSPACE;
}
HRESULT BrowserSite::SetBorderSpace(LPCBORDERWIDTHS) {
  return OLE_E_INVALIDRECT;
}
HRESULT BrowserSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) {
  return S_OK;
}
HRESULT BrowserSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
  return E_NOTIMPL;
}
HRESULT BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) {
  return S_OK;
}
HRESULT BrowserSite::RemoveMenus(HMENU) {
  return E_NOTIMPL;
}
HRESULT BrowserSite::SetStatusText(LPCOLESTR) {
  return S_OK;
}
HRESULT BrowserSite::EnableModeless(BOOL) {
  return S_OK;
}
HRESULT BrowserSite::TranslateAccelerator(LPMSG, WORD) {
  return S_FALSE;
}

// No context menu of the control's own: its "open in new window" would take the page out of
// the program, without the control's cookies.
HRESULT BrowserSite::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
  return S_OK;
}

HRESULT BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  return S_OK;
}

HRESULT BrowserSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                            IOleInPlaceUIWindow*) {
  return S_OK;
}

HRESULT BrowserSite::HideUI() {
  return S_OK;
}
HRESULT BrowserSite::UpdateUI() {
  return S_OK;
}
HRESULT BrowserSite::OnDocWindowActivate(BOOL) {
  return S_OK;
}
HRESULT BrowserSite::OnFrameWindowActivate(BOOL) {
  return S_OK;
}
HRESULT BrowserSite::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
  return S_OK;
}
// The browser's own window shortcuts are kept out, for the same reason: Ctrl+N (new window),
// Ctrl+O and Ctrl+L (open an address in a dialog). Copy, paste, Tab and the rest stay the
// control's.
HRESULT BrowserSite::TranslateAccelerator(LPMSG message, const GUID*, DWORD) {
  if (!message || message->message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return S_FALSE;
  switch (message->wParam) {
    case 'N':
    case 'O':
    case 'L':
      return S_OK;
    default:
      return S_FALSE;
  }
}

HRESULT BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key) *key = nullptr;
  return S_FALSE;
}

HRESULT BrowserSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
  if (target) *target = nullptr;
  return E_NOTIMPL;
}

HRESULT BrowserSite::GetExternal(IDispatch** external) {
  if (external) *external = nullptr;
  return S_FALSE;
}

HRESULT BrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
  if (translated) *translated = nullptr;
  return S_FALSE;
}

HRESULT BrowserSite::FilterDataObject(IDataObject*, IDataObject** filtered) {
  if (filtered) *filtered = nullptr;
  return S_FALSE;
}

}  // namespace kesto::win32
