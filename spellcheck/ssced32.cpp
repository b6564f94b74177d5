// SSCED32.dll: the spell checker with the vendor library's two entry points. The lexicons,
// the user dictionary (SSCEUSER.DIC) and relative lexicon names all live in the DLL's own
// folder, the installation folder.
#include "spellcheck/ssced.h"
#include "spellcheck/spelldlg.h"
#include "spellcheck/core/checksession.h"
#include "spellcheck/core/speller.h"

#include <string>

namespace {

constexpr char kUserDictionary[] = "SSCEUSER.DIC";
constexpr int kCancelled = 1;

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

std::string ModuleFolder(HINSTANCE module) {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(module, path, sizeof path);
    std::string folder(path, length < sizeof path ? length : 0);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

// The checker of this library: the flat entry points share it for as long as the library is
// loaded, as the lexicon set by one call serves every check after it.
struct Library {
    HINSTANCE module = ThisModule();
    std::string folder = ModuleFolder(module);
    lx::spell::Speller speller;

    Library() { speller.LoadUserDictionary(lx::spell::ResolveIn(folder, kUserDictionary)); }
};

Library& TheLibrary() {
    static Library library;
    return library;
}

} // namespace

extern "C" int WINAPI SSCED_SetMainLexFiles(const char* fileList) {
    if (!fileList) return SSCED_ERR_NO_LEXICON;
    Library& library = TheLibrary();
    std::vector<std::string> paths = lx::spell::SplitLexiconList(fileList);
    if (paths.empty()) return SSCED_ERR_NO_LEXICON;
    for (std::string& path : paths) path = lx::spell::ResolveIn(library.folder, path);
    std::string error;
    // A list that cannot be loaded leaves the lexicons loaded before in use.
    return library.speller.SetLexiconFiles(paths, &error) ? 0 : SSCED_ERR_NO_LEXICON;
}

extern "C" int WINAPI SSCED_CheckCtrlDlg(HWND owner, HWND control, int options) {
    Library& library = TheLibrary();
    if (!library.speller.HasLexicon()) return SSCED_ERR_NO_LEXICON;
    if (!control || !::IsWindow(control)) return SSCED_ERR_NO_LEXICON;
    lx::spell::CheckSession session(library.speller, lx::WindowText(control));
    // Nothing to ask: no dialog.
    if (!session.FindNext()) return 0;
    lx::SpellDialogData data{library.module, &session, control};
    return lx::ShowSpellCheckDialog(owner, &data) == lx::SpellDialogResult::Complete ? 0
                                                                                     : kCancelled;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
