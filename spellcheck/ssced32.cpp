// SSCED32.dll: a minimal spell checker with the vendor library's two entry points. It keeps
// the lexicon list it was given and checks nothing yet; the full checker replaces it.
#include "spellcheck/ssced.h"

#include <cstring>

namespace {

constexpr std::size_t kListSize = 1024;
char g_lexicon[kListSize] = "";

bool NamesAFile(const char* list) {
    for (const char* c = list; *c; ++c)
        if (*c != ';' && *c != ',' && *c != ' ' && *c != '\t') return true;
    return false;
}

} // namespace

extern "C" int WINAPI SSCED_SetMainLexFiles(const char* fileList) {
    if (!fileList || !NamesAFile(fileList)) return SSCED_ERR_NO_LEXICON;
    std::strncpy(g_lexicon, fileList, kListSize - 1);
    g_lexicon[kListSize - 1] = '\0';
    return 0;
}

extern "C" int WINAPI SSCED_CheckCtrlDlg(HWND owner, HWND control, int options) {
    if (g_lexicon[0] == '\0') return SSCED_ERR_NO_LEXICON;
    if (!control || !::IsWindow(control)) return SSCED_ERR_NO_LEXICON;
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
