// The spell-check library SSCED32.dll: the two calls the main program makes.
#pragma once
#include <windows.h>

#include "common/win/handles.h"

// Result when no lexicon is loaded (or the lexicon files cannot be used).
#define SSCED_ERR_NO_LEXICON (-1001)

extern "C" {
// Loads the main lexicon files: a list of file names separated by ';' or ','. 0 on success,
// SSCED_ERR_NO_LEXICON when the list names no file.
typedef int(WINAPI* SSCED_SetMainLexFilesProc)(const char* fileList);
// Checks the text of `control` with a dialog owned by `owner`. 0: checked, nothing left to
// correct; SSCED_ERR_NO_LEXICON: no lexicon loaded; other values: the check was cancelled.
typedef int(WINAPI* SSCED_CheckCtrlDlgProc)(HWND owner, HWND control, int options);
}

namespace lx {

constexpr char kSpellLibrary[] = "SSCED32.dll";

// The library loaded by name, so that the program runs (without spell checking) where it is
// missing: every call then answers SSCED_ERR_NO_LEXICON.
class SpellChecker {
public:
    bool Load(const char* library = kSpellLibrary);
    bool Loaded() const { return static_cast<bool>(module_); }
    int SetMainLexFiles(const char* fileList);
    int CheckCtrlDlg(HWND owner, HWND control, int options);

private:
    Module module_;
    SSCED_SetMainLexFilesProc setLex_ = nullptr;
    SSCED_CheckCtrlDlgProc check_ = nullptr;
};

} // namespace lx
