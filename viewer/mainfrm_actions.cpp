// The viewer's commands on the shown message and the requests they send to the main program.
#include "viewer/mainfrm.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/win/choosefile.h"
#include "common/catalog/msgcatalog.h"
#include "common/folderdlg/selfolde.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storetables.h"
#include "common/settings/install_path.h"
#include "common/win/uiseam.h"
#include "viewer/core/favorites.h"
#include "viewer/core/viewerrequest.h"
#include "viewer/res/resource.h"
#include "viewer/win/requestslot.h"

namespace lx::viewer {

namespace {

// An attached file's program is given this long to be ready for input.
constexpr DWORD kProgramIdleMillis = 4000;

// "\Favorites" under the Windows folder.
std::string FavoritesFolder() {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    return InstallFile(windows, "Favorites");
}

// A catalogue filter ("text|pattern|...||") in the form the file dialogs take (zero-separated).
} // namespace

bool ViewerFrame::Send(const ViewerRequest& request) {
    return SendViewerRequest(Handle(), catalog_, request) == RequestDelivery::Sent;
}

void ViewerFrame::OnAddresses() {
    if (!EnabledCommands(State()).addresses) return;
    const MessageData& m = job_->data;
    Send(AddAddressesRequest(m.record, m.to, m.cc));
}

void ViewerFrame::OnReply() {
    if (!EnabledCommands(State()).reply) return;
    const MessageData& m = job_->data;
    Send(ReplyRequest(m.record, settings_.commandLine.mesgNum, m.to, m.cc));
    ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void ViewerFrame::OnDelete() {
    if (!EnabledCommands(State()).remove) return;
    odbcvantConnection* conn = job_->store.Get();
    odbcvantTableInfo messages(conn, "Messages");
    const std::string where = ConditionMesgNum(settings_.commandLine.mesgNum);
    const long trash = settings_.commandLine.trashCan;
    if (job_->data.record.folderNum != trash) {
        // A move that failed was reported by the store; the message stays and nothing is sent.
        if (!MoveMessagesTo(conn, &messages, trash, where, Handle())) return;
        job_->data.record.folderNum = trash;
        Send(MessageChangedRequest());
        ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return;
    }
    if (ui::CatalogBox(Handle(), catalog_, "MAINFRM_CPP_39", "MAINFRM_CPP_38",
                       MB_YESNO | MB_ICONSTOP) != IDYES)
        return;
    if (!DeleteRowsWhere(conn, &messages, where, Handle())) return;
    Send(MessageChangedRequest());
    ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void ViewerFrame::OnFile() {
    if (!EnabledCommands(State()).file) return;
    odbcvantConnection* conn = job_->store.Get();
    long folderNum = 0;
    if (ShowSelectFolderDialog(Handle(), catalog_, conn, &folderNum, nullptr, 0,
                               HelpFileSpec(settings_.installFolder)) != IDOK)
        return;
    odbcvantTableInfo messages(conn, "Messages");
    if (!MoveMessagesTo(conn, &messages, folderNum, ConditionMesgNum(settings_.commandLine.mesgNum),
                        Handle()))
        return;
    // Delete now knows where the message is.
    job_->data.record.folderNum = folderNum;
    Send(MessageChangedRequest());
}

void ViewerFrame::OpenAttachment(int index) {
    if (!loaded_ || !job_) return;
    const AttachmentList& files = job_->data.attachments;
    if (index < 0 || index >= files.count || index >= int(kAttachmentSlots)) return;
    const Attachment& file = files.slots[index];
    if (file.program.empty()) {
        ui::CatalogBox(Handle(), catalog_, "MAINFRM_CPP_20", "MAINFRM_CPP_21",
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    char program[MAX_PATH] = "";
    const DWORD got = ::GetShortPathNameA(file.program.c_str(), program, sizeof program);
    const std::string shortProgram = got > 0 && got < sizeof program ? program : file.program;
    const std::string commandLine = shortProgram + " " + file.name;
    if (!ui::RunProgram(Handle(), commandLine.c_str(), kProgramIdleMillis))
        ui::CatalogBox(Handle(), catalog_, "MAINFRM_CPP_18", "MAINFRM_CPP_19",
                       MB_OK | MB_ICONEXCLAMATION);
}

// Mail-to and attachment links on the message page are the viewer's own: the browser does not
// follow them. Any other link leaves the message page.
bool ViewerFrame::OnBeforeNavigate(const std::string& url) {
    if (IsMailToLink(url)) {
        Send(MailToRequest(MailToAddress(url, IsWebBrowser())));
        return true;
    }
    if (IsAttachmentLink(url)) {
        if (loaded_ && job_)
            OpenAttachment(AttachmentForLink(url, IsWebBrowser(), job_->data.attachments));
        return true;
    }
    if (!IsWebBrowser()) {
        nav_.HtmlBeforeNavigate();
        UpdateCommands();
    }
    return false;
}

void ViewerFrame::OnOpenFavorite() {
    if (!browser_) return;
    const std::string folder = FavoritesFolder();
    ::SetCurrentDirectoryA(folder.c_str());
    const std::string title = CatalogText(&catalog_, "MAINFRM_CPP_46");
    const std::string filter = DialogFilter(CatalogText(&catalog_, "MAINFRM_CPP_47"));
    char file[MAX_PATH] = "";
    OPENFILENAMEA data{};
    data.lStructSize = sizeof data;
    data.hwndOwner = Handle();
    data.lpstrFilter = filter.c_str();
    data.lpstrFile = file;
    data.nMaxFile = sizeof file;
    data.lpstrInitialDir = folder.c_str();
    data.lpstrTitle = title.c_str();
    data.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (ui::GetOpenFileName(&data)) {
        char text[kShortcutReadSize + 1] = "";
        if (FILE* f = std::fopen(file, "rb")) {
            text[std::fread(text, 1, kShortcutReadSize, f)] = '\0';
            std::fclose(f);
        }
        const std::string url = ShortcutUrl(text);
        if (!url.empty())
            ::SendMessageA(Handle(), WM_LXV_NAVIGATE, 0, reinterpret_cast<LPARAM>(url.c_str()));
    }
    ::SetCurrentDirectoryA(settings_.installFolder.c_str());
}

void ViewerFrame::OnAddFavorite() {
    if (!browser_) return;
    const std::string favorites = FavoritesFolder();
    const std::string folder = InstallFile(favorites, "Lorvex");
    ::CreateDirectoryA(favorites.c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path =
        InstallFile(folder, ShortcutFileName(browser_->LocationName(), IsWebBrowser()).c_str());
    const std::string text = InternetShortcutText(browser_->LocationUrl());
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) f = nullptr;
    if (!written || !f)
        ui::CatalogBox(Handle(), catalog_, "MAINFRM_CPP_45", "MAINFRM_CPP_44",
                       MB_OK | MB_ICONEXCLAMATION);
}

void ViewerFrame::OnPrintSetup() {
    PRINTDLGA data{};
    data.lStructSize = sizeof data;
    data.hwndOwner = Handle();
    data.Flags = PD_PRINTSETUP | PD_RETURNDC;
    if (ui::PrintSetup(&data)) {
        GlobalMemory mode(data.hDevMode), names(data.hDevNames);
        DeviceContext dc(data.hDC);
    }
}

// The shown message (simple view, or the message page) goes to the print engine; a page the user
// went on to, or a page without a message, the browser control prints itself.
void ViewerFrame::OnPrint() {
    if (print_ && job_ && EnabledCommands(State()).addresses)
        print_(Handle(), job_->data);
    else if (browser_)
        browser_->PrintPage();
}

void ViewerFrame::OnHelp() {
    ui::Help(Handle(), InstallFile(settings_.installFolder, kHelpFile).c_str(), HELP_CONTEXT,
             HELP_CONTEXT_VIEWER);
}

} // namespace lx::viewer
