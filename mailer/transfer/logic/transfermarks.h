// Which mail transfers are running in this program: the automatic mail run does not start a
// retrieval while one is open, nor a sending dialog while one exists. The application owns one
// set of marks and hands it to the dialogs; a dialog holds its mark for its whole life.
#pragma once

namespace lx {

struct TransferMarks {
    bool retrieving = false; // a "Retrieving Mail [POP3]" dialog exists
    bool sending = false;    // a "Send Mail [SMTP]" dialog exists
};

// Sets a mark for as long as it lives (no mark: does nothing).
class TransferMarkHeld {
public:
    explicit TransferMarkHeld(bool* mark) : mark_(mark) {
        if (mark_) *mark_ = true;
    }
    ~TransferMarkHeld() {
        if (mark_) *mark_ = false;
    }
    TransferMarkHeld(const TransferMarkHeld&) = delete;
    TransferMarkHeld& operator=(const TransferMarkHeld&) = delete;

private:
    bool* mark_;
};

} // namespace lx
