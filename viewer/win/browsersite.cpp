#include "viewer/win/browsersite.h"

#include "common/win/comptr.h"

#include <exdisp.h>
#include <exdispid.h>

namespace lx {

namespace {

// An event argument as the control passes it: by value or by reference.
const VARIANT* Deref(const VARIANT& v) {
    const VARIANT* p = &v;
    while (p && p->vt == (VT_VARIANT | VT_BYREF)) p = p->pvarVal;
    return p;
}

std::string TextArg(const VARIANT& v) {
    const VARIANT* p = Deref(v);
    if (!p) return {};
    if (p->vt == VT_BSTR)
        return NarrowText(p->bstrVal, static_cast<int>(::SysStringLen(p->bstrVal)));
    if (p->vt == (VT_BSTR | VT_BYREF) && p->pbstrVal)
        return NarrowText(*p->pbstrVal, static_cast<int>(::SysStringLen(*p->pbstrVal)));
    return {};
}

long LongArg(const VARIANT& v) {
    VARIANT converted;
    ::VariantInit(&converted);
    long value = 0;
    if (SUCCEEDED(::VariantChangeType(&converted, const_cast<VARIANT*>(Deref(v)), 0, VT_I4)))
        value = converted.lVal;
    ::VariantClear(&converted);
    return value;
}

// The argument `index` counted from the first as the event declares them (DISPPARAMS holds
// them last to first); nullptr when the control passed fewer.
const VARIANT* Arg(const DISPPARAMS* params, UINT index, UINT declared) {
    if (!params || params->cArgs != declared || index >= declared) return nullptr;
    return &params->rgvarg[declared - 1 - index];
}

} // namespace

BrowserSite::BrowserSite(HWND container, BrowserEvents events)
    : container_(container), events_(std::move(events)) {}

void BrowserSite::Detach() {
    events_ = BrowserEvents();
    container_ = nullptr;
}

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() { return refs_.AddRef(); }

STDMETHODIMP_(ULONG) BrowserSite::Release() { return refs_.Release(this); }

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** c) {
    *c = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::GetWindow(HWND* wnd) {
    *wnd = container_;
    return container_ ? S_OK : E_FAIL;
}

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                           LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    ::GetClientRect(container_, pos);
    *clip = *pos;
    info->fMDIApp = FALSE;
    info->hwndFrame = container_ ? ::GetAncestor(container_, GA_ROOT) : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::GetTypeInfoCount(UINT* n) {
    *n = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                 EXCEPINFO*, UINT*) {
    // Copies: a handler may destroy the host (and detach this site) while it runs.
    BrowserEvents events = events_;
    switch (id) {
    case DISPID_BEFORENAVIGATE2: {
        const VARIANT* url = Arg(params, 1, 7);
        const VARIANT* cancel = Arg(params, 6, 7);
        if (!url || !cancel || cancel->vt != (VT_BOOL | VT_BYREF) || !cancel->pboolVal)
            return DISP_E_BADPARAMCOUNT;
        if (events.beforeNavigate && events.beforeNavigate(TextArg(*url)))
            *cancel->pboolVal = VARIANT_TRUE;
        return S_OK;
    }
    case DISPID_DOWNLOADBEGIN:
        if (events.downloadBegin) events.downloadBegin();
        return S_OK;
    case DISPID_DOWNLOADCOMPLETE:
        if (events.downloadComplete) events.downloadComplete();
        return S_OK;
    case DISPID_COMMANDSTATECHANGE: {
        const VARIANT* command = Arg(params, 0, 2);
        const VARIANT* enable = Arg(params, 1, 2);
        if (!command || !enable) return DISP_E_BADPARAMCOUNT;
        if (events.commandStateChange)
            events.commandStateChange(static_cast<int>(LongArg(*command)), LongArg(*enable) != 0);
        return S_OK;
    }
    case DISPID_STATUSTEXTCHANGE: {
        const VARIANT* text = Arg(params, 0, 1);
        if (!text) return DISP_E_BADPARAMCOUNT;
        if (events.statusText) events.statusText(TextArg(*text));
        return S_OK;
    }
    default: return DISP_E_MEMBERNOTFOUND; // the other events of the interface are not needed
    }
}

} // namespace lx
