#include "spellcheck/ssced.h"

namespace lx {

SpellChecker::~SpellChecker() {
    if (module_) ::FreeLibrary(module_);
}

bool SpellChecker::Load(const char* library) {
    if (module_) return true;
    module_ = ::LoadLibraryA(library);
    if (!module_) return false;
    setLex_ = reinterpret_cast<SSCED_SetMainLexFilesProc>(
        reinterpret_cast<void*>(::GetProcAddress(module_, "SSCED_SetMainLexFiles")));
    check_ = reinterpret_cast<SSCED_CheckCtrlDlgProc>(
        reinterpret_cast<void*>(::GetProcAddress(module_, "SSCED_CheckCtrlDlg")));
    return true;
}

int SpellChecker::SetMainLexFiles(const char* fileList) {
    return setLex_ ? setLex_(fileList) : SSCED_ERR_NO_LEXICON;
}

int SpellChecker::CheckCtrlDlg(HWND owner, HWND control, int options) {
    return check_ ? check_(owner, control, options) : SSCED_ERR_NO_LEXICON;
}

} // namespace lx
