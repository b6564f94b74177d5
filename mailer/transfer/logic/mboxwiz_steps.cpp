#include "mailer/transfer/logic/mboxwiz_steps.h"

#include "mailer/transfer/logic/mboxlist_rules.h"

namespace lx {
namespace {

// The most characters the shared edit takes on the name step.
constexpr std::size_t kSharedEditChars = 80;

bool IsTextStep(WizardStep step) { return step >= WizardStep::Name && step <= WizardStep::User; }

WizardStep Moved(WizardStep step, int by) {
    return static_cast<WizardStep>(static_cast<int>(step) + by);
}

} // namespace

MailboxWizardSteps::MailboxWizardSteps(MailboxWork& work, const MailboxList& list, int index)
    : work_(work), list_(list), index_(index) {}

WizardButtons MailboxWizardSteps::Buttons() const {
    WizardButtons buttons;
    buttons.previousEnabled = step_ != WizardStep::Welcome;
    buttons.nextShown = step_ != WizardStep::Delivery;
    buttons.finishShown = step_ == WizardStep::Delivery;
    return buttons;
}

bool MailboxWizardSteps::UsesSharedEdit() const { return IsTextStep(step_); }

std::size_t MailboxWizardSteps::SharedEditLimit() const {
    if (!IsTextStep(step_)) return 0;
    return step_ == WizardStep::Name ? kSharedEditChars : MailboxFieldLimit(FieldOfStep());
}

MailboxField MailboxWizardSteps::FieldOfStep() const {
    switch (step_) {
    case WizardStep::Name: return MailboxField::Name;
    case WizardStep::Pop3Server: return MailboxField::Pop3Server;
    case WizardStep::SmtpServer: return MailboxField::SmtpServer;
    case WizardStep::Address: return MailboxField::Address;
    case WizardStep::User: return MailboxField::User;
    default: break;
    }
    return MailboxField::Password;
}

WizardInput MailboxWizardSteps::Shown() const {
    WizardInput shown;
    if (IsTextStep(step_)) shown.text = WorkField(work_, FieldOfStep());
    shown.password = work_.password;
    shown.apop = work_.apop;
    shown.deleteMail = work_.deleteMail;
    return shown;
}

void MailboxWizardSteps::Store(const WizardInput& input) {
    if (IsTextStep(step_)) {
        WorkField(work_, FieldOfStep()) = input.text;
    } else if (step_ == WizardStep::Password) {
        work_.password = input.password;
        work_.apop = input.apop;
    } else if (step_ == WizardStep::Delivery) {
        work_.deleteMail = input.deleteMail;
    }
}

WorkCheck MailboxWizardSteps::Next(const WizardInput& input) {
    if (step_ == WizardStep::Delivery) return {};
    if (IsTextStep(step_) || step_ == WizardStep::Password) {
        const MailboxField field = FieldOfStep();
        const WorkCheck check =
            CheckWorkField(field, field == MailboxField::Password ? input.password : input.text);
        if (check.refusal != WorkRefusal::None) return check;
        if (field == MailboxField::Name &&
            MailboxNameTaken(list_, StoredMailboxName(input.text), index_) >= 0)
            return {WorkRefusal::NameTaken, MailboxField::Name};
    }
    Store(input);
    step_ = Moved(step_, 1);
    return {};
}

void MailboxWizardSteps::Previous(const WizardInput& input) {
    if (step_ == WizardStep::Welcome) return;
    Store(input);
    if (step_ != WizardStep::Name) step_ = Moved(step_, -1);
}

WorkCheck MailboxWizardSteps::Finish(const WizardInput& input) {
    if (step_ != WizardStep::Delivery) return {WorkRefusal::Unfinished, MailboxField::Name};
    Store(input);
    const WorkCheck check = CheckWork(work_, list_, index_);
    if (check.refusal != WorkRefusal::None) step_ = StepOfField(check.field);
    return check;
}

WizardStep StepOfField(MailboxField field) {
    switch (field) {
    case MailboxField::Name: return WizardStep::Name;
    case MailboxField::Pop3Server: return WizardStep::Pop3Server;
    case MailboxField::SmtpServer: return WizardStep::SmtpServer;
    case MailboxField::Address: return WizardStep::Address;
    case MailboxField::User: return WizardStep::User;
    case MailboxField::Password: break;
    }
    return WizardStep::Password;
}

} // namespace lx
