// The steps of the "Mail Box Setup Wizard": which step shows which input, what Next, Previous
// and Finish store, and when the wizard refuses to move on. Portable.
#pragma once
#include "mailer/transfer/logic/mboxedit_rules.h"

#include <cstddef>
#include <string>

namespace lx {

enum class WizardStep : int {
    Welcome = 0,
    Name = 1,
    Pop3Server = 2,
    SmtpServer = 3,
    Address = 4,
    User = 5,
    Password = 6,
    Delivery = 7,
};
constexpr int kWizardStepCount = 8;

// What the dialog shows on a step, or has read from its controls.
struct WizardInput {
    std::string text;        // the edit shared by the steps Name to User
    std::string password;    // Password
    bool apop = false;       // Password
    bool deleteMail = false; // Delivery
};

struct WizardButtons {
    bool nextShown = true;
    bool previousEnabled = true;
    bool finishShown = false;
};

class MailboxWizardSteps {
public:
    // `list` and `index` (the record edited; the count for a new one) serve the name check.
    MailboxWizardSteps(MailboxWork& work, const MailboxList& list, int index);

    WizardStep Step() const { return step_; }
    WizardButtons Buttons() const;
    // Whether the step's input is the shared edit, and the most characters it takes there. The
    // name step takes more than a name may have, so that a long name is explained, not cut.
    bool UsesSharedEdit() const;
    std::size_t SharedEditLimit() const;
    // The step's working values, for its controls.
    WizardInput Shown() const;

    // Stores the step's input and moves to the next step. A name over 12 characters, a name
    // another mailbox has, a text longer than its field or a password that cannot be stored
    // keeps the step; the check says why.
    WorkCheck Next(const WizardInput& input);
    // Stores the step's input as Next does but unchecked, and moves one step back, not below the
    // name step. Does nothing on the welcome step.
    void Previous(const WizardInput& input);
    // On the last step: stores its input, then checks the whole work. A refusal moves the wizard
    // to the step of the refused field.
    WorkCheck Finish(const WizardInput& input);

private:
    void Store(const WizardInput& input);
    MailboxField FieldOfStep() const;

    MailboxWork& work_;
    const MailboxList& list_;
    int index_;
    WizardStep step_ = WizardStep::Welcome;
};

// The step that asks for a field.
WizardStep StepOfField(MailboxField field);

} // namespace lx
