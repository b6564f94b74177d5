#include "viewer/win/webbrowserhost.h"

#include "common/win/comptr.h"
#include "viewer/win/browsersite.h"

#include <exdisp.h>

namespace lx {

namespace {

constexpr const char* kContainerClass = "LxBrowserContainer";

// The control lives in a window of ours, so the frame places one child whatever the control
// does with its own windows.
HWND CreateContainer(HWND parent) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kContainerClass;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    ::RegisterClassA(&wc); // registered already by an earlier host: that class serves
    return ::CreateWindowExA(0, kContainerClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             100, 100, parent, reinterpret_cast<HMENU>(kBrowserControlId), instance,
                             nullptr);
}

class WebBrowserHost : public BrowserHost {
public:
    ~WebBrowserHost() override {
        if (point_ && cookie_) point_->Unadvise(cookie_);
        if (ole_) {
            ole_->Close(OLECLOSE_NOSAVE);
            ole_->SetClientSite(nullptr);
        }
        if (site_) site_->Detach();
        active_.Reset();
        inPlace_.Reset();
        browser_.Reset();
        ole_.Reset();
        point_.Reset();
        if (container_) ::DestroyWindow(container_);
    }

    bool Create(HWND parent, BrowserEvents events) {
        container_ = CreateContainer(parent);
        if (!container_) return false;
        site_.Reset(new BrowserSite(container_, std::move(events)));
        if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IOleObject, reinterpret_cast<void**>(ole_.Put()))))
            return false;
        browser_ = ole_.As<IWebBrowser2>(IID_IWebBrowser2);
        if (!browser_ || FAILED(ole_->SetClientSite(site_.Get()))) return false;
        // Events are connected before the control is shown so no early event is lost.
        auto points = ole_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
        if (!points || FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point_.Put())))
            return false;
        if (FAILED(point_->Advise(static_cast<IDispatch*>(site_.Get()), &cookie_))) return false;
        RECT area{};
        ::GetClientRect(container_, &area);
        if (FAILED(
                ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, container_, &area)))
            return false;
        inPlace_ = ole_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
        active_ = ole_.As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
        return true;
    }

    HWND Window() const override { return container_; }

    void Navigate(const std::string& url) override {
        StopRunningLoad();
        Bstr target(url);
        VARIANT empty;
        ::VariantInit(&empty);
        browser_->Navigate(target.Get(), &empty, &empty, &empty, &empty);
    }
    void Stop() override { browser_->Stop(); }
    void GoBack() override {
        StopRunningLoad();
        browser_->GoBack();
    }
    void GoForward() override {
        StopRunningLoad();
        browser_->GoForward();
    }
    void Refresh() override { browser_->Refresh(); }
    // The document's command target prints it (a control without a document prints nothing).
    void PrintPage() override {
        ComPtr<IDispatch> document;
        if (FAILED(browser_->get_Document(document.Put())) || !document) return;
        const ComPtr<IOleCommandTarget> target =
            document.As<IOleCommandTarget>(IID_IOleCommandTarget);
        if (target)
            target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
    }
    bool Busy() const override {
        VARIANT_BOOL busy = VARIANT_FALSE;
        return SUCCEEDED(browser_->get_Busy(&busy)) && busy != VARIANT_FALSE;
    }
    std::string LocationUrl() const override {
        Bstr text;
        return SUCCEEDED(browser_->get_LocationURL(text.Put())) ? text.Text() : std::string();
    }
    std::string LocationName() const override {
        Bstr text;
        return SUCCEEDED(browser_->get_LocationName(text.Put())) ? text.Text() : std::string();
    }
    void Move(const RECT& area) override {
        ::MoveWindow(container_, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, TRUE);
        RECT inside{0, 0, area.right - area.left, area.bottom - area.top};
        if (inPlace_) inPlace_->SetObjectRects(&inside, &inside);
    }
    bool TranslateKey(MSG* msg) override {
        if (!active_ || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
        if (msg->hwnd != container_ && !::IsChild(container_, msg->hwnd)) return false;
        return active_->TranslateAccelerator(msg) == S_OK;
    }

private:
    // A load that is still running is stopped before the control goes somewhere else.
    void StopRunningLoad() {
        if (Busy()) browser_->Stop();
    }

    HWND container_ = nullptr;
    ComPtr<BrowserSite> site_;
    ComPtr<IOleObject> ole_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
    ComPtr<IOleInPlaceObject> inPlace_;
    ComPtr<IOleInPlaceActiveObject> active_;
};

} // namespace

std::unique_ptr<BrowserHost> CreateWebBrowserHost(HWND parent, BrowserEvents events) {
    auto host = std::make_unique<WebBrowserHost>();
    if (!host->Create(parent, std::move(events))) return nullptr;
    return host;
}

} // namespace lx
