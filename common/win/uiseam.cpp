#include "common/win/uiseam.h"
#include "common/catalog/msgcatalog.h"
#include "common/win/handles.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace lx::ui {
namespace {

UiHook* g_hook = nullptr;
MessageCatalog* g_catalog = nullptr;
HWND g_mainWindow = nullptr;
char g_appTitle[64] = "Lorvex";

// A scripted answer of its own: the print dialog answered with the default printer.
constexpr int kAnswerDefaultPrinter = 0x7001;

// Scripted answers for a whole program run, read once from the environment.
struct Transcript {
    std::mutex lock;
    bool loaded = false;
    std::string file;
    std::vector<int> answers;
    size_t next = 0;
};
Transcript g_transcript;

int AnswerByName(const std::string& name) {
    static const struct {
        const char* name;
        int id;
    } kAnswers[] = {
        {"IDOK", IDOK},         {"IDCANCEL", IDCANCEL},
        {"IDABORT", IDABORT},   {"IDRETRY", IDRETRY},
        {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES},
        {"IDNO", IDNO},         {"DEFAULTPRINTER", kAnswerDefaultPrinter},
    };
    for (const auto& a : kAnswers)
        if (name == a.name) return a.id;
    return IDOK;
}

// The process environment as the system holds it (the C run-time's copy misses later changes).
std::string EnvironmentValue(const char* name) {
    char value[1024];
    const DWORD got = ::GetEnvironmentVariableA(name, value, sizeof value);
    return got > 0 && got < sizeof value ? std::string(value, got) : std::string();
}

void LoadTranscriptLocked() {
    if (g_transcript.loaded) return;
    g_transcript.loaded = true;
    g_transcript.file = EnvironmentValue("LORVEX_UI_TRANSCRIPT");
    const std::string answers = EnvironmentValue("LORVEX_UI_ANSWERS");
    if (!answers.empty()) {
        std::string item;
        for (const char* p = answers.c_str();; ++p) {
            if (*p == ',' || *p == '\0') {
                while (!item.empty() && item.back() == ' ') item.pop_back();
                if (!item.empty()) g_transcript.answers.push_back(AnswerByName(item));
                item.clear();
                if (*p == '\0') break;
            } else if (*p != ' ' || !item.empty()) {
                item += *p;
            }
        }
    }
}

// One line per entry: line breaks inside a text are written as \r and \n.
void AppendEscaped(std::string& out, const char* text) {
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '\n')
            out += "\\n";
        else if (*p == '\r')
            out += "\\r";
        else
            out += *p;
    }
}

// True when the run is scripted; `answer` then holds the scripted answer.
bool TranscriptAnswer(const char* caption, const char* text, UINT flags, int* answer) {
    std::lock_guard<std::mutex> guard(g_transcript.lock);
    LoadTranscriptLocked();
    if (g_transcript.file.empty()) return false;
    std::string line;
    AppendEscaped(line, caption);
    line += '|';
    AppendEscaped(line, text);
    line += '|';
    line += std::to_string(flags);
    line += '\n';
    if (FILE* f = std::fopen(g_transcript.file.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
    *answer = g_transcript.next < g_transcript.answers.size()
                  ? g_transcript.answers[g_transcript.next++]
                  : IDOK;
    return true;
}

// Common dialogs in a scripted run are recorded and cancelled.
bool TranscriptCommonDialog(const char* kind) {
    int ignored = 0;
    return TranscriptAnswer("common dialog", kind, 0, &ignored);
}

} // namespace

void SetHook(UiHook* hook) { g_hook = hook; }
UiHook* Hook() { return g_hook; }

void SetAppTitle(const char* title) {
    std::snprintf(g_appTitle, sizeof g_appTitle, "%s", title ? title : "");
}
const char* AppTitle() { return g_appTitle; }
void SetCatalog(MessageCatalog* catalog) { g_catalog = catalog; }
MessageCatalog* Catalog() { return g_catalog; }
void SetMainWindow(HWND wnd) { g_mainWindow = wnd; }

int MessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
    if (!text) text = "";
    if (!caption) caption = "";
    if (g_hook) return g_hook->OnMessageBox(owner, text, caption, flags);
    int answer = IDOK;
    if (TranscriptAnswer(caption, text, flags, &answer)) return answer;
    return ::MessageBoxA(owner, text, caption, flags);
}

int AppMessageBox(const char* text, UINT flags) {
    HWND owner = g_mainWindow && ::IsWindow(g_mainWindow) ? g_mainWindow : nullptr;
    return MessageBox(owner, text, g_appTitle, flags);
}

int CatalogBox(HWND owner, MessageCatalog& catalog, const char* textKey, const char* captionKey,
               UINT flags) {
    char caption[1024];
    catalog.LookupInto(captionKey, caption, sizeof caption);
    return MessageBox(owner, CatalogText(&catalog, textKey).c_str(), caption, flags);
}

int CatalogAppBox(MessageCatalog& catalog, const char* textKey, UINT flags) {
    return AppMessageBox(CatalogText(&catalog, textKey).c_str(), flags);
}

BOOL GetOpenFileName(OPENFILENAMEA* data) {
    if (g_hook) return g_hook->OnCommonDialog(CommonDialog::Open, data);
    if (TranscriptCommonDialog("open")) return FALSE;
    return ::GetOpenFileNameA(data);
}

BOOL GetSaveFileName(OPENFILENAMEA* data) {
    if (g_hook) return g_hook->OnCommonDialog(CommonDialog::Save, data);
    if (TranscriptCommonDialog("save")) return FALSE;
    return ::GetSaveFileNameA(data);
}

BOOL ChooseFont(CHOOSEFONTA* data) {
    if (g_hook) return g_hook->OnCommonDialog(CommonDialog::Font, data);
    if (TranscriptCommonDialog("font")) return FALSE;
    return ::ChooseFontA(data);
}

bool ChooseScreenFont(HWND owner, LOGFONTA* font) {
    LOGFONTA chosen = *font;
    CHOOSEFONTA data{};
    data.lStructSize = sizeof data;
    data.hwndOwner = owner;
    data.lpLogFont = &chosen;
    data.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFont(&data)) return false;
    *font = chosen;
    return true;
}

BOOL PrintSetup(PRINTDLGA* data) {
    if (g_hook) return g_hook->OnCommonDialog(CommonDialog::PrintSetup, data);
    if (TranscriptCommonDialog("print setup")) return FALSE;
    return ::PrintDlgA(data);
}

BOOL PrintDialog(PRINTDLGA* data) {
    if (g_hook) return g_hook->OnCommonDialog(CommonDialog::Print, data);
    int answer = 0;
    if (TranscriptAnswer("common dialog", "print", 0, &answer)) {
        if (answer != kAnswerDefaultPrinter) return FALSE;
        const DWORD asked = data->Flags;
        data->Flags = PD_RETURNDEFAULT | PD_RETURNDC;
        const BOOL chosen = ::PrintDlgA(data);
        data->Flags = asked;
        return chosen;
    }
    return ::PrintDlgA(data);
}

BOOL Help(HWND owner, const char* file, UINT command, ULONG_PTR data) {
    if (g_hook) {
        g_hook->OnHelp(owner, file, command, data);
        return TRUE;
    }
    if (TranscriptCommonDialog("help")) return TRUE;
    return ::WinHelpA(owner, file, command, data);
}

BOOL RunProgram(HWND owner, const char* commandLine, DWORD idleMillis) {
    if (g_hook) return g_hook->OnRunProgram(owner, commandLine);
    int ignored = 0;
    if (TranscriptAnswer("run program", commandLine, 0, &ignored)) return TRUE;
    std::string line = commandLine ? commandLine : "";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return FALSE;
    UniqueHandle process(info.hProcess), thread(info.hThread);
    ::WaitForInputIdle(process.Get(), idleMillis);
    return TRUE;
}

bool NotifyDialogInit(HWND dialog, int resourceId) {
    if (g_hook) {
        g_hook->OnDialogInit(dialog, resourceId);
        return false;
    }
    int ignored = 0;
    return TranscriptAnswer("dialog", std::to_string(resourceId).c_str(), 0, &ignored);
}

} // namespace lx::ui
