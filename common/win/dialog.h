// Base of the program's modal dialogs: created from a dialog resource, centred over the
// owner, with data exchange for bounded text fields and range-checked integer fields.
// Each dialog offers one entry point `ShowXxxDialog(owner, data*)` built on DoModal().
#pragma once
#include "common/win/messagemap.h"
#include <windows.h>
#include <vector>

namespace lx {
class FormatArg;
}

namespace lx {

// Catalogue keys of the dialog layer's own messages.
extern const char* const kFieldTooLongKey;  // one %d: the field's limit
extern const char* const kIntegerRangeKey;  // two %d: lowest and highest value
extern const char* const kIntegerNeededKey; // no conversion

class Dialog {
public:
    Dialog(int resourceId, HWND owner) : resourceId_(resourceId), owner_(owner) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog; IDOK / IDCANCEL / End()'s value, -1 when it could not be created.
    INT_PTR DoModal();
    HWND Handle() const { return hwnd_; }
    int ResourceId() const { return resourceId_; }

protected:
    MessageMap& Map() { return map_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }

    // Text field: `buffer` of `size` bytes; the control accepts at most `maxChars`
    // characters (at most size - 1).
    void BindText(int controlId, char* buffer, size_t size, int maxChars);
    // Integer field whose saved value must lie in [minValue, maxValue].
    void BindInt(int controlId, int* value, int minValue, int maxValue);
    // Loads the bound fields into the controls (save = false) or checks and stores them
    // (save = true). A failed check shows the reason, focuses the field and returns false.
    bool UpdateData(bool save);

    // After the fields are loaded; return FALSE when the handler has set the focus itself.
    virtual BOOL OnInitDialog() { return TRUE; }
    // OK: store the fields and close; a field that fails its check keeps the dialog open.
    virtual void OnOK();
    virtual void OnCancel() { End(IDCANCEL); }
    void End(INT_PTR result) { ::EndDialog(hwnd_, result); }

private:
    struct Field {
        int id;
        bool isInt;
        char* text;
        size_t size;
        int maxChars;
        int* number;
        int minValue;
        int maxValue;
    };
    bool CheckField(const Field& f, int* number);
    void Refuse(int controlId, const char* key, const std::vector<FormatArg>& args);
    static INT_PTR CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

    int resourceId_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    MessageMap map_;
    std::vector<Field> fields_;
};

} // namespace lx
