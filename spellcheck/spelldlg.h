// The spelling dialog of SSCED32.dll: shows each misspelled word of an edit control, selected
// in the control, with suggestions, and changes the control's text as the user answers.
#pragma once
#include <windows.h>

#include <string>

namespace lx::spell {
class CheckSession;
}

namespace lx {

struct SpellDialogData {
    HINSTANCE module = nullptr;             // the DLL: its dialog template and texts
    spell::CheckSession* session = nullptr; // standing on the first misspelled word
    HWND control = nullptr;                 // the edit control being checked
};

enum class SpellDialogResult { Complete, Cancelled };

SpellDialogResult ShowSpellCheckDialog(HWND owner, SpellDialogData* data);

// The whole text of a window (an edit control).
std::string WindowText(HWND wnd);

} // namespace lx
