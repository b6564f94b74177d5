#include "spellcheck/ssced.h"

namespace lx {

bool SpellChecker::Load(const char* library) {
    if (module_) return true;
    if (!module_.Load(library)) return false;
    module_.Bind(setLex_, "SSCED_SetMainLexFiles");
    module_.Bind(check_, "SSCED_CheckCtrlDlg");
    return true;
}

int SpellChecker::SetMainLexFiles(const char* fileList) {
    return setLex_ ? setLex_(fileList) : SSCED_ERR_NO_LEXICON;
}

int SpellChecker::CheckCtrlDlg(HWND owner, HWND control, int options) {
    return check_ ? check_(owner, control, options) : SSCED_ERR_NO_LEXICON;
}

} // namespace lx
