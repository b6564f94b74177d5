#include "viewer/win/requestslot.h"

#include <cstdio>

#include "common/catalog/msgcatalog.h"
#include "common/win/handles.h"
#include "common/win/uiseam.h"

namespace lx::viewer {

namespace {
constexpr char kCaptionKey[] = "MAINFRM_CPP_40";
} // namespace

RequestDelivery SendViewerRequest(HWND owner, MessageCatalog& catalog, const ViewerRequest& request,
                                  const char* mailslot) {
    UniqueHandle slot(::CreateFileA(mailslot, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!slot) {
        ui::CatalogBox(owner, catalog, "MAINFRM_CPP_41", kCaptionKey, MB_OK | MB_ICONEXCLAMATION);
        return RequestDelivery::NoMailslot;
    }
    const std::vector<std::uint8_t> record = EncodeViewerRequest(request);
    DWORD written = 0;
    if (!::WriteFile(slot.Get(), record.data(), static_cast<DWORD>(record.size()), &written,
                     nullptr)) {
        ui::CatalogBox(owner, catalog, "MAINFRM_CPP_42", kCaptionKey, MB_OK | MB_ICONEXCLAMATION);
        return RequestDelivery::WriteFailed;
    }
    if (written < record.size()) {
        char caption[320];
        std::snprintf(caption, sizeof caption, "%s [%ld]",
                      CatalogText(&catalog, kCaptionKey).c_str(), static_cast<long>(written));
        ui::MessageBox(owner, CatalogText(&catalog, "MAINFRM_CPP_42").c_str(), caption,
                       MB_OK | MB_ICONEXCLAMATION);
        return RequestDelivery::ShortWrite;
    }
    return RequestDelivery::Sent;
}

} // namespace lx::viewer
