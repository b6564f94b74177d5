#include "mailer/transfer/logic/filterform.h"

#include "common/settings/fixed_text.h"

namespace lx {

namespace {

bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

const FilterChoice& ChoiceOf(const FilterForm& form) {
    return kFilterChoices[form.choice < kFilterChoiceCount ? form.choice : 0];
}

} // namespace

FilterFormCheck CheckFilterForm(const FilterForm& form) {
    const FilterChoice& choice = ChoiceOf(form);
    const struct {
        bool needed;
        const std::string& text;
        const char* key;
        FilterFormField field;
    } checks[] = {
        {true, form.name, "FILTMGR_CPP_1", FilterFormField::Name},
        {choice.address, form.address, "FILTMGR_CPP_3", FilterFormField::Address},
        {choice.subject, form.subject, "FILTMGR_CPP_4", FilterFormField::Subject},
        {choice.message, form.message, "FILTMGR_CPP_6", FilterFormField::Message},
        {form.fileInFolder, form.folderName, "FILTMGR_CPP_5", FilterFormField::Folder},
    };
    for (const auto& check : checks) {
        if (check.needed && Blank(check.text)) return {check.key, check.field};
    }
    return {};
}

FilterRule RuleFromForm(const FilterForm& form) {
    const FilterChoice& choice = ChoiceOf(form);
    FilterRule rule;
    CopyText(rule.name, form.name.c_str());
    rule.fields = choice.letter;
    CopyText(rule.address, choice.address ? form.address.c_str() : "");
    CopyText(rule.subject, choice.subject ? form.subject.c_str() : "");
    CopyText(rule.message, choice.message ? form.message.c_str() : "");
    rule.action = form.fileInFolder ? kFilterActionFile : kFilterActionDelete;
    CopyText(rule.folderName, form.fileInFolder ? form.folderName.c_str() : "");
    rule.folderNum = form.fileInFolder ? form.folderNum : 0;
    return rule;
}

FilterForm FormFromRule(const FilterRule& rule) {
    FilterForm form;
    form.name = TextOf(rule.name);
    form.choice = FilterChoiceOf(rule.fields);
    form.address = TextOf(rule.address);
    form.subject = TextOf(rule.subject);
    form.message = TextOf(rule.message);
    form.fileInFolder = rule.action == kFilterActionFile;
    form.folderName = TextOf(rule.folderName);
    form.folderNum = rule.folderNum;
    return form;
}

} // namespace lx
