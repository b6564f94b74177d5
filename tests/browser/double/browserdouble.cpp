// A stand-in for the WebBrowser control, served in-process for CLSID_WebBrowser: enough of the
// OLE embedding for a container to place it, the navigation members the viewer calls, and the
// DWebBrowserEvents2 events a real control fires while it loads a page (a load ends when the
// double's window processes its posted completion, so a load can still be running).
#include "tests/browser/double/browserdouble.h"

#include "common/win/comptr.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <olectl.h>
#include <oleidl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using lx::Bstr;
using lx::ComPtr;

LONG g_objects = 0; // COM's unload rule needs the module's live object count

// The DWebBrowserEvents2 connection point: one sink at a time, cookie 1.
class EventPoint : public IConnectionPoint {
public:
    explicit EventPoint(IConnectionPointContainer* owner) : owner_(owner) {}
    void Detach() { owner_ = nullptr; }
    ComPtr<IDispatch> Sink() const { return sink_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return refs_.Release(this); }
    STDMETHODIMP GetConnectionInterface(IID* iid) override {
        *iid = DIID_DWebBrowserEvents2;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** c) override {
        *c = owner_;
        if (!owner_) return E_UNEXPECTED;
        owner_->AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
        if (sink_) return CONNECT_E_ADVISELIMIT;
        if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(sink_.Put()))))
            return CONNECT_E_CANNOTCONNECT;
        *cookie = 1;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override {
        if (cookie != 1 || !sink_) return CONNECT_E_NOCONNECTION;
        sink_.Reset();
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    virtual ~EventPoint() = default; // reached through Release only

private:
    lx::RefCount refs_;
    IConnectionPointContainer* owner_; // not owned: the browser owns this point
    ComPtr<IDispatch> sink_;
};

class BrowserDouble : public IWebBrowser2,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IConnectionPointContainer {
public:
    BrowserDouble() : point_(new EventPoint(this)) { ::InterlockedIncrement(&g_objects); }
    virtual ~BrowserDouble() {
        point_->Detach();
        if (wnd_) ::DestroyWindow(wnd_);
        ::InterlockedDecrement(&g_objects);
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser ||
            iid == IID_IWebBrowserApp || iid == IID_IWebBrowser2)
            *out = static_cast<IWebBrowser2*>(this);
        else if (iid == IID_IOleObject)
            *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IConnectionPointContainer)
            *out = static_cast<IConnectionPointContainer*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return refs_.Release(this); }

    // IDispatch (the double is driven through its vtable only)
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return E_NOTIMPL;
    }

    // IWebBrowser: the members the viewer uses
    STDMETHODIMP GoBack() override {
        Log("GoBack");
        return Travel(index_ - 1);
    }
    STDMETHODIMP GoForward() override {
        Log("GoForward");
        return Travel(index_ + 1);
    }
    STDMETHODIMP Refresh() override {
        Log("Refresh");
        if (index_ >= 0) StartLoad(history_[index_], index_);
        return S_OK;
    }
    STDMETHODIMP Stop() override {
        Log("Stop");
        if (busy_) {
            busy_ = false;
            ++loadNumber_; // the posted completion of the stopped load is ignored
            Fire(DISPID_DOWNLOADCOMPLETE, {});
        }
        return S_OK;
    }
    STDMETHODIMP Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        std::string text = lx::NarrowText(url, static_cast<int>(::SysStringLen(url)));
        Log("Navigate " + text);
        if (!BeforeNavigate(url)) {
            Log("Cancelled " + text);
            return S_OK;
        }
        StartLoad(text, index_ + 1);
        return S_OK;
    }
    STDMETHODIMP get_LocationName(BSTR* name) override {
        std::string location = Location();
        *name = Bstr(location.substr(location.find_last_of('/') + 1)).Release();
        return S_OK;
    }
    STDMETHODIMP get_LocationURL(BSTR* url) override {
        *url = Bstr(Location()).Release();
        return S_OK;
    }
    STDMETHODIMP get_Busy(VARIANT_BOOL* busy) override {
        *busy = busy_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT*) override { return Refresh(); }
    STDMETHODIMP get_Application(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Document(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG) override { return E_NOTIMPL; }
    // IWebBrowserApp
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int*, int*) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    // IWebBrowser2
    STDMETHODIMP Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Silent(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

    // IOleObject: placing the control in its container
    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        if (site) site->AddRef();
        site_.Reset(site);
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        *site = site_.Get();
        if (*site) (*site)->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override {
        Log("Close");
        if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
        inPlaceSite_.Reset();
        if (wnd_) ::DestroyWindow(wnd_);
        wnd_ = nullptr;
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* active, LONG, HWND, LPCRECT) override {
        Log("DoVerb");
        if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW) return OLEOBJ_S_INVALIDVERB;
        IOleClientSite* site = active ? active : site_.Get();
        if (!site || wnd_) return wnd_ ? S_OK : E_UNEXPECTED;
        site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(inPlaceSite_.Put()));
        if (!inPlaceSite_ || inPlaceSite_->CanInPlaceActivate() != S_OK) return E_FAIL;
        inPlaceSite_->OnInPlaceActivate();
        HWND parent = nullptr;
        inPlaceSite_->GetWindow(&parent);
        ComPtr<IOleInPlaceFrame> frame;
        ComPtr<IOleInPlaceUIWindow> doc;
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof(info);
        if (FAILED(inPlaceSite_->GetWindowContext(frame.Put(), doc.Put(), &pos, &clip, &info)))
            return E_FAIL;
        CreateOwnWindow(parent, pos);
        return wnd_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* id) override {
        *id = CLSID_WebBrowser;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        *status = OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* wnd) override {
        *wnd = wnd_;
        return wnd_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override {
        if (wnd_)
            ::MoveWindow(wnd_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top,
                         TRUE);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // IConnectionPointContainer: the one event interface
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        *point = nullptr;
        if (iid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
        *point = point_.Get();
        point_->AddRef();
        return S_OK;
    }

private:
    void Log(const std::string& line) {
        log_ += line + "\n";
        // A test that runs the viewer as its own process reads the calls from this file.
        char path[MAX_PATH] = "";
        const DWORD got = ::GetEnvironmentVariableA(lxtest::kDoubleLogVariable, path, sizeof path);
        if (got == 0 || got >= sizeof path) return;
        if (FILE* file = std::fopen(path, "ab")) {
            std::fputs((line + "\n").c_str(), file);
            std::fclose(file);
        }
    }

    std::string Location() const { return index_ >= 0 ? history_[index_] : std::string(); }

    // Arguments are given first to last; DISPPARAMS holds them last to first.
    void Fire(DISPID id, std::vector<VARIANT> args) {
        ComPtr<IDispatch> sink = point_->Sink(); // the sink may unadvise while it handles the event
        if (!sink) return;
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                     nullptr);
    }

    static VARIANT Arg(VARTYPE type) {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = type;
        return v;
    }

    // True when the sink lets the navigation proceed.
    bool BeforeNavigate(BSTR url) {
        VARIANT urlValue = Arg(VT_BSTR);
        urlValue.bstrVal = url;
        VARIANT empty = Arg(VT_EMPTY);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT disp = Arg(VT_DISPATCH);
        disp.pdispVal = static_cast<IWebBrowser2*>(this);
        VARIANT byUrl = Arg(VT_VARIANT | VT_BYREF);
        byUrl.pvarVal = &urlValue;
        VARIANT byEmpty = Arg(VT_VARIANT | VT_BYREF);
        byEmpty.pvarVal = &empty;
        VARIANT byCancel = Arg(VT_BOOL | VT_BYREF);
        byCancel.pboolVal = &cancel;
        Fire(DISPID_BEFORENAVIGATE2, {disp, byUrl, byEmpty, byEmpty, byEmpty, byEmpty, byCancel});
        return cancel == VARIANT_FALSE;
    }

    void StatusText(const std::string& text) {
        Bstr b(text);
        VARIANT v = Arg(VT_BSTR);
        v.bstrVal = b.Get();
        Fire(DISPID_STATUSTEXTCHANGE, {v});
    }

    void CommandState(long command, bool enable) {
        VARIANT c = Arg(VT_I4);
        c.lVal = command;
        VARIANT e = Arg(VT_BOOL);
        e.boolVal = enable ? VARIANT_TRUE : VARIANT_FALSE;
        Fire(DISPID_COMMANDSTATECHANGE, {c, e});
    }

    HRESULT Travel(int index) {
        if (index < 0 || index >= static_cast<int>(history_.size())) return E_FAIL;
        StartLoad(history_[index], index);
        return S_OK;
    }

    // A load lands at history position `index` once the double's window gets to it.
    void StartLoad(const std::string& url, int index) {
        busy_ = true;
        pendingUrl_ = url;
        pendingIndex_ = index;
        Fire(DISPID_DOWNLOADBEGIN, {});
        StatusText("Opening " + url);
        if (!wnd_ || !::PostMessageA(wnd_, lxtest::kDoubleLoadDone, ++loadNumber_, 0)) FinishLoad();
    }

    void FinishLoad() {
        if (pendingIndex_ >= static_cast<int>(history_.size()) ||
            history_[pendingIndex_] != pendingUrl_) {
            history_.resize(pendingIndex_); // a new page drops the forward history
            history_.push_back(pendingUrl_);
        }
        index_ = pendingIndex_;
        busy_ = false;
        CommandState(CSC_NAVIGATEFORWARD, index_ + 1 < static_cast<int>(history_.size()));
        CommandState(CSC_NAVIGATEBACK, index_ > 0);
        StatusText("");
        Fire(DISPID_DOWNLOADCOMPLETE, {});
    }

    void CreateOwnWindow(HWND parent, const RECT& pos) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &WindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = lxtest::kDoubleWindowClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        ::RegisterClassA(&wc); // a second double finds the class registered
        wnd_ = ::CreateWindowExA(0, lxtest::kDoubleWindowClass, "", WS_CHILD | WS_VISIBLE, pos.left,
                                 pos.top, pos.right - pos.left, pos.bottom - pos.top, parent,
                                 nullptr, wc.hInstance, this);
    }

    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
            ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<BrowserDouble*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (self && msg == lxtest::kDoubleLoadDone) {
            if (self->busy_ && wp == self->loadNumber_) self->FinishLoad();
            return 0;
        }
        if (self && msg == lxtest::kDoubleGetCalls) {
            if (lp && wp > 0)
                ::lstrcpynA(reinterpret_cast<char*>(lp), self->log_.c_str(), static_cast<int>(wp));
            return static_cast<LRESULT>(self->log_.size());
        }
        return ::DefWindowProcA(wnd, msg, wp, lp);
    }

    lx::RefCount refs_;
    ComPtr<IOleClientSite> site_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<EventPoint> point_;
    HWND wnd_ = nullptr;
    std::string log_;
    std::vector<std::string> history_;
    int index_ = -1;
    bool busy_ = false;
    std::string pendingUrl_;
    int pendingIndex_ = 0;
    WPARAM loadNumber_ = 0;
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; } // static object
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* browser = new BrowserDouble;
        HRESULT hr = browser->QueryInterface(iid, out);
        browser->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            ::InterlockedIncrement(&g_objects);
        else
            ::InterlockedDecrement(&g_objects);
        return S_OK;
    }
};

Factory g_factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT
    __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (clsid != CLSID_WebBrowser) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() {
    return g_objects == 0 ? S_OK : S_FALSE;
}
