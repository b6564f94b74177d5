// Filter rules for the tests, made from their texts.
#pragma once

#include <cstdint>

#include "common/settings/fixed_text.h"
#include "mailer/transfer/logic/filterrule.h"

namespace lxtest {

// A File rule when a folder is given, else a Delete rule.
inline lx::FilterRule MakeRule(const char* name, char letter, const char* address,
                               const char* subject, const char* message,
                               const char* folder = nullptr, std::int32_t folderNum = 0) {
    lx::FilterRule rule;
    lx::CopyText(rule.name, name);
    rule.fields = letter;
    lx::CopyText(rule.address, address);
    lx::CopyText(rule.subject, subject);
    lx::CopyText(rule.message, message);
    rule.action = folder ? lx::kFilterActionFile : lx::kFilterActionDelete;
    lx::CopyText(rule.folderName, folder);
    rule.folderNum = folderNum;
    return rule;
}

} // namespace lxtest
