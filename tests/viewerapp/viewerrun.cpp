#include "tests/viewerapp/viewerrun.h"
#include "common/catalog/msgcatalog.h"
#include "tests/startup/lorvexrun.h"
#include "viewer/res/resource.h"

#include <cstdio>

namespace lxtest {

namespace {

void EmptyFolder(const std::string& folder) {
    for (const std::string& name : FilesMatching(folder, "*"))
        ::DeleteFileA(JoinPath(folder, name.c_str()).c_str());
}

} // namespace

std::string MakeViewerInstallation(const char* name) {
    const std::string folder = JoinPath(BinaryDir(), (std::string("viewerapp-") + name).c_str());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    EmptyFolder(folder);
    CopyInto(WinPath(LX_LXVIEWER_EXE), folder);
    CopyInto(WinPath(LX_ODBCVANT_DLL), folder);
    CopyInto(WinPath(LX_PRNTVANT_DLL), folder);
    CopyInto(JoinPath(BinaryDir(), "bin\\LXVTEXT.VSF"), folder);
    const std::string wait = "<HTML><BODY>Please wait ...</BODY></HTML>\r\n";
    WriteBytes(JoinPath(folder, "WAIT.HTM"), std::vector<unsigned char>(wait.begin(), wait.end()));
    SetInstallPath(folder);
    return folder;
}

std::string ViewerArguments(const std::string& folder, long mesgNum, long mesgSize, long trash) {
    char text[512];
    std::snprintf(text, sizeof text, "/WAIT\"%s\" /MESGNUM%ld /MESGSIZE%ld /TRASHCAN%ld",
                  JoinPath(ShortPath(folder), "WAIT.HTM").c_str(), mesgNum, mesgSize, trash);
    return text;
}

void SetReaderType(DWORD readerType) {
    lx::RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, "Software\\Quorbit\\Lorvex", KEY_ALL_ACCESS)) return;
    if (readerType == 0)
        ::RegDeleteValueA(key.Get(), "ReaderType");
    else
        ::RegSetValueExA(key.Get(), "ReaderType", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&readerType), sizeof readerType);
    key.Flush();
}

std::vector<std::string> FilesMatching(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(JoinPath(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

std::string ViewerCatalogueText(const char* key) {
    // A running viewer holds its catalogue without sharing: read a copy.
    const std::string copy = JoinPath(BinaryDir(), "viewerapp-catalogue.vsf");
    ::CopyFileA(JoinPath(BinaryDir(), "bin\\LXVTEXT.VSF").c_str(), copy.c_str(), FALSE);
    lx::MessageCatalog catalog;
    if (!catalog.Open(copy.c_str(), lx::CatalogMagic::Exact)) return std::string();
    return lx::CatalogText(&catalog, key);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD millis) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start > millis) return false;
        ::Sleep(20); // the poll interval of a bounded wait for `condition`
    }
}

std::string ViewerProcess::SimpleViewText(int controlId) {
    HWND view = ::GetDlgItem(WaitFrame(0), IDD_SIMPLEVIEW);
    char text[4096] = "";
    ::GetDlgItemTextA(view, controlId, text, sizeof text);
    return text;
}

int ViewerProcess::AttachmentLines() {
    HWND view = ::GetDlgItem(WaitFrame(0), IDD_SIMPLEVIEW);
    return static_cast<int>(::SendDlgItemMessageA(view, IDC_SV_FILES, LB_GETCOUNT, 0, 0));
}

void ViewerProcess::Command(int id) {
    ::PostMessageA(WaitFrame(0), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

RequestSlot::RequestSlot()
    : slot_(::CreateMailslotA(lx::kViewerMailslotName, 0, MAILSLOT_WAIT_FOREVER, nullptr)) {}

bool RequestSlot::Next(std::vector<unsigned char>& bytes, DWORD millis) {
    DWORD next = MAILSLOT_NO_MESSAGE;
    if (!WaitUntil(
            [&] {
                return ::GetMailslotInfo(slot_.Get(), nullptr, &next, nullptr, nullptr) &&
                       next != MAILSLOT_NO_MESSAGE;
            },
            millis))
        return false;
    bytes.assign(next, 0);
    DWORD got = 0;
    if (!::ReadFile(slot_.Get(), bytes.data(), next, &got, nullptr)) return false;
    bytes.resize(got);
    return true;
}

} // namespace lxtest
