#include "mailer/core/startwork.h"
#include "mailer/core/newmail.h"
#include "common/settings/font_desc.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "common/settings/win32_forms.h"

#include <string>

namespace lx {
namespace {

// The stored description of one message font: the file's, or the default written back.
FontDesc MessageFontDescription(const std::string& folder, MessageFont which) {
    const char* file = MessageFontFile(which);
    FontDesc desc;
    if (ReadFontFile(folder, file, desc)) return desc;
    // The file holds what the system made of the default, as the font itself reports it.
    LOGFONTA wanted = ToLogFont(DefaultMessageFont(which));
    desc = FromLogFont(wanted);
    if (HFONT temporary = ::CreateFontIndirectA(&wanted)) {
        LOGFONTA made{};
        if (::GetObjectA(temporary, sizeof made, &made) == sizeof made) desc = FromLogFont(made);
        ::DeleteObject(temporary);
    }
    WriteFontFile(folder, file, desc);
    return desc;
}

} // namespace

unsigned __stdcall StartupWorker(void* param) {
    auto* app = static_cast<LorvexApp*>(param);
    const std::string folder = app->InstallPath();

    ::CreateDirectoryA(InstallFile(folder, kDataFolder).c_str(), nullptr);

    const MessageFont order[kMessageFontCount] = {MessageFont::Head, MessageFont::Tags,
                                                  MessageFont::Text, MessageFont::Foot};
    for (MessageFont which : order) {
        const LOGFONTA font = ToLogFont(MessageFontDescription(folder, which));
        app->AdoptMessageFont(which, ::CreateFontIndirectA(&font));
    }

    PasswordScrambleTable();
    RegisterMailtoHandler(folder);
    return 0;
}

} // namespace lx
