// The form's file work: importing a text file into the body, the attachment list, the body
// font (PREPMSG.INK) and the body's display lines.
#include "mailer/ui/sendmesg.h"

#include "common/settings/font_desc.h"
#include "common/settings/win32_forms.h"
#include "common/win/settingsnotice.h"
#include "common/win/choosefile.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/logic/editfram_rules.h"

#include <fstream>
#include <iterator>
#include <new>

namespace lx {

namespace {

std::string ShortForm(const std::string& path) {
    char shortPath[MAX_PATH] = "";
    const DWORD got = ::GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return got > 0 && got < sizeof shortPath ? std::string(shortPath) : path;
}

} // namespace

void PrepareMessageForm::ImportText() {
    const std::string path =
        ChooseFileToOpen(hwnd_, Text("SENDMESG_CPP_13"), Text("SENDMESG_CPP_14"));
    if (path.empty()) return;
    if (path.size() >= kAttachmentPathLimit) {
        Box("SENDMESG_CPP_15", "SENDMESG_CPP_16", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Box("SENDMESG_CPP_17", "SENDMESG_CPP_18", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || !in) {
        Box("SENDMESG_CPP_19", "SENDMESG_CPP_20", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        FromControls();
        data_.body += text;
    } catch (const std::bad_alloc&) {
        Box("SENDMESG_CPP_21", "SENDMESG_CPP_22", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ::SetDlgItemTextA(hwnd_, IDC_SENDMESG_BODY, data_.body.c_str());
}

void PrepareMessageForm::SelectFile() {
    if (!CanAttachMore(data_.files.size())) {
        Box("SENDMESG_CPP_24", "SENDMESG_CPP_23", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string path =
        ChooseFileToOpen(hwnd_, Text("SENDMESG_CPP_25"), Text("SENDMESG_CPP_26"));
    if (path.empty()) return;
    if (path.size() >= kAttachmentPathLimit) {
        Box("SENDMESG_CPP_28", "SENDMESG_CPP_27", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (AddAttachment(data_.files, ShortForm(path))) FillFileList();
}

void PrepareMessageForm::RemoveFile() {
    const LRESULT at = ::SendDlgItemMessageA(hwnd_, IDC_SENDMESG_FILES, LB_GETCARETINDEX, 0, 0);
    if (at < 0 || static_cast<std::size_t>(at) >= data_.files.size()) return;
    data_.files.erase(data_.files.begin() + at);
    FillFileList();
}

void PrepareMessageForm::ChooseEditorFont() {
    LOGFONTA chosen = logFont_;
    if (!hasLogFont_) {
        if (HFONT current = reinterpret_cast<HFONT>(
                ::SendDlgItemMessageA(hwnd_, IDC_SENDMESG_BODY, WM_GETFONT, 0, 0)))
            ::GetObjectA(current, sizeof chosen, &chosen);
    }
    if (!ui::ChooseScreenFont(hwnd_, &chosen)) return;
    logFont_ = chosen;
    hasLogFont_ = true;
    ReportIfNotSaved(
        WriteFontFile(frame_.Context().installPath, kComposerFontFile, FromLogFont(chosen)), hwnd_,
        frame_.Context().catalog, kComposerFontFile);
    ApplyBodyFont();
}

void PrepareMessageForm::ApplyBodyFont() {
    if (!hasLogFont_) return;
    Font font(::CreateFontIndirectA(&logFont_));
    if (!font) return;
    ::SendDlgItemMessageA(hwnd_, IDC_SENDMESG_BODY, WM_SETFONT,
                          reinterpret_cast<WPARAM>(font.Get()), TRUE);
    bodyFont_ = std::move(font); // the control drew with the old font until now
}

// Each line as the body control shows it, read whole by its position in the text.
std::vector<std::string> PrepareMessageForm::DisplayLines() const {
    HWND body = Item(IDC_SENDMESG_BODY);
    const int length = ::GetWindowTextLengthA(body);
    std::string text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextA(body, &text[0], static_cast<int>(text.size()))));
    std::vector<std::string> lines;
    const LRESULT count = ::SendMessageA(body, EM_GETLINECOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT start = ::SendMessageA(body, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
        if (start < 0 || static_cast<std::size_t>(start) > text.size()) break;
        const LRESULT chars = ::SendMessageA(body, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        lines.push_back(text.substr(static_cast<std::size_t>(start),
                                    static_cast<std::size_t>(chars < 0 ? 0 : chars)));
    }
    return lines;
}

} // namespace lx
