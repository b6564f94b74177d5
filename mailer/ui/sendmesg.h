// PrepareMessageForm: the composer's form (dialog 178, a child dialog filling the EditorFrame).
// It collects recipients, subject, return address, signature, body and attached files, checks
// the body's spelling, and stores the message in _OUT (then sends it) or in a folder the user
// picks. The form's procedure only moves values between its data and its controls; the steps
// live in sendmesg_init.cpp (initialisation), sendmesg_actions.cpp (saving, sending, filing,
// deleting, recipients, spelling), sendmesg_files.cpp (text import, attachments, font, display
// lines) and sendmesg_layout.cpp (tabs and control placement).
#pragma once
#include "common/win/handles.h"
#include "common/win/messagemap.h"
#include "mailer/ui/composer.h"

#include <windows.h>

#include <string>
#include <vector>

namespace lx {
class EditorFrame;
struct ComposedMessage;

// The form's values.
struct PrepareMessageData {
    std::string returnAddress; // at most 80 characters
    std::string signature;     // at most 32 characters
    std::string to, cc, subject, body;
    bool lineBreaks = false;
    std::string commandLine;
    std::vector<std::string> files;
};

class PrepareMessageForm {
public:
    explicit PrepareMessageForm(EditorFrame& frame);
    ~PrepareMessageForm();
    PrepareMessageForm(const PrepareMessageForm&) = delete;
    PrepareMessageForm& operator=(const PrepareMessageForm&) = delete;

    bool Create(HWND parent);
    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    const PrepareMessageData& Data() const { return data_; }
    // The tab shown: 0 "Message Data", 1 "Attachments".
    int Tab() const { return tab_; }
    void FocusFirst();

private:
    static INT_PTR CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    void MapMessages();
    // sendmesg.cpp: moving the data
    void ToControls();
    void FromControls();
    void FillFileList();
    std::string Text(const char* key) const;
    int Box(const char* textKey, const char* captionKey, UINT flags);
    // sendmesg_init.cpp
    void Initialise();
    void ReadSettings();
    void TakeOpening();
    void TakeCommandLine();
    void FillReturnAddresses();
    void FillSignatures();
    void LoadBodyFont();
    void TakeFiles(const std::vector<std::string>& files);
    // sendmesg_actions.cpp
    bool Save(long folderNum);
    ComposedMessage Composed(long folderNum) const;
    void WriteSettings();
    void SendNow();
    void FileInFolder();
    void DeleteMessage();
    void PickRecipients(bool mailingLists);
    void SpellCheck();
    long SpecialFolder(const std::function<long()>& known, const char* name);
    // sendmesg_files.cpp
    void ImportText();
    void SelectFile();
    void RemoveFile();
    void ChooseEditorFont();
    void ApplyBodyFont();
    std::vector<std::string> DisplayLines() const;
    // sendmesg_layout.cpp
    void ShowTab(int tab);
    void Layout(int width, int height);

    EditorFrame& frame_;
    HWND hwnd_ = nullptr;
    MessageMap map_;
    PrepareMessageData data_;
    std::string lastReturnAddress_; // LastRetAdd as read at initialisation
    std::string lastSignature_;     // LastRetSig
    int tab_ = 0;
    LOGFONTA logFont_{};
    bool hasLogFont_ = false;
    Font bodyFont_;
};

} // namespace lx
