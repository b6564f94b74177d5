#include "mailer/core/startwork.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "common/settings/win32_forms.h"

#include <process.h>
#include <new>

namespace lx {
namespace {

struct StartupJob {
    std::string installPath;
    HWND receiver = nullptr;
};

constexpr char kMailtoRegistration[] = "HKEY_CLASSES_ROOT\\mailto\\shell\\open\\command";

// The stored description of one message font: the file's, or the default written back (a file
// that cannot be written is named in `notSaved`).
FontDesc MessageFontDescription(const std::string& folder, MessageFont which,
                                std::vector<std::string>& notSaved) {
    const char* file = MessageFontFile(which);
    FontDesc desc;
    if (ReadFontFile(folder, file, desc)) return desc;
    // The file holds what the system made of the default, as the font itself reports it.
    LOGFONTA wanted = ToLogFont(DefaultMessageFont(which));
    desc = FromLogFont(wanted);
    Font temporary(::CreateFontIndirectA(&wanted));
    LOGFONTA made{};
    if (temporary && ::GetObjectA(temporary.Get(), sizeof made, &made) == sizeof made)
        desc = FromLogFont(made);
    if (!WriteFontFile(folder, file, desc)) notSaved.push_back(file);
    return desc;
}

unsigned __stdcall StartupWorker(void* param) {
    const std::unique_ptr<StartupJob> job(static_cast<StartupJob*>(param));
    const std::string& folder = job->installPath;

    ::CreateDirectoryA(InstallFile(folder, kDataFolder).c_str(), nullptr);

    auto fonts = std::make_unique<MessageFontSet>();
    const MessageFont order[kMessageFontCount] = {MessageFont::Head, MessageFont::Tags,
                                                  MessageFont::Text, MessageFont::Foot};
    for (MessageFont which : order) {
        const LOGFONTA font = ToLogFont(MessageFontDescription(folder, which, fonts->notSaved));
        fonts->fonts[static_cast<int>(which)].Reset(::CreateFontIndirectA(&font));
    }

    PasswordScrambleTable();
    if (!RegisterMailtoHandler(folder)) fonts->notSaved.push_back(kMailtoRegistration);

    // Once posted the fonts are the receiver's; a receiver already gone leaves them here.
    if (::PostMessageA(job->receiver, WM_LX_MESSAGE_FONTS, 0,
                       reinterpret_cast<LPARAM>(fonts.get())))
        fonts.release();
    return 0;
}

} // namespace

UniqueHandle StartStartupWorker(const std::string& installPath, HWND receiver) {
    auto job = std::unique_ptr<StartupJob>(new (std::nothrow) StartupJob{installPath, receiver});
    if (!job) return UniqueHandle();
    const uintptr_t thread = _beginthreadex(nullptr, 0, &StartupWorker, job.get(), 0, nullptr);
    if (thread == 0) return UniqueHandle();
    job.release(); // the worker's now
    return UniqueHandle(reinterpret_cast<HANDLE>(thread));
}

std::unique_ptr<MessageFontSet> TakeMessageFonts(LPARAM lParam) {
    return std::unique_ptr<MessageFontSet>(reinterpret_cast<MessageFontSet*>(lParam));
}

} // namespace lx
