// What the "Manage Filter File" dialog holds, the checks its Save makes and the rule it makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "mailer/transfer/logic/filterrule.h"

namespace lx {

struct FilterForm {
    std::string name;
    std::size_t choice = 0; // index into kFilterChoices
    std::string address, subject, message;
    bool fileInFolder = false; // "File In Folder"; else "Delete Message"
    std::string folderName;
    std::int32_t folderNum = 0;
};

// The field a failed check points at.
enum class FilterFormField { None, Name, Address, Subject, Message, Folder };

struct FilterFormCheck {
    const char* key = nullptr; // message key of the refusal (caption "FILTMGR_CPP_2"); null: fine
    FilterFormField field = FilterFormField::None;
};

// The Save checks in order: the name, then each text the choice uses (address, subject words,
// message words), then the folder of a File rule. A text of nothing but blanks counts as empty:
// it would match almost every message.
FilterFormCheck CheckFilterForm(const FilterForm& form);

// The rule of a form that passed its checks: the texts the choice does not use stored empty, an
// empty folder for Delete.
FilterRule RuleFromForm(const FilterForm& form);

// The form showing a rule: its letter selects the first choice with that letter, an action other
// than File shows as Delete.
FilterForm FormFromRule(const FilterRule& rule);

} // namespace lx
