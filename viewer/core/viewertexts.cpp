#include "viewer/core/viewertexts.h"

#include <array>

namespace lx::viewer {

namespace {

std::string Keyed(const MessageCatalog& catalog, const char* module, int number) {
    const std::string key = std::string(module) + "_CPP_" + std::to_string(number);
    return CatalogText(&catalog, key.c_str());
}

// A load error must carry its mark even when the catalogue lacks the text, or the page writer
// would take the message as read.
std::string LoadErrorText(const MessageCatalog& catalog, const char* key) {
    const std::string text = CatalogText(&catalog, key);
    return text.find("Error:") == std::string::npos ? "Error: " + text : text;
}

} // namespace

PageTexts PageTextsFrom(const MessageCatalog& catalog) {
    std::array<std::string, 12> months;
    for (int i = 0; i < 12; ++i) months[i] = Keyed(catalog, "MAINFRM", i + 1);
    PageTexts texts;
    texts.months = MakeMonthNames(months);
    texts.partFailed = Keyed(catalog, "MAINFRM", 43);
    return texts;
}

SimpleViewLabels SimpleViewLabelsFrom(const MessageCatalog& catalog) {
    SimpleViewLabels labels;
    for (int i = 0; i < 7; ++i) labels[i] = Keyed(catalog, "SIMPLEVW", i + 1);
    return labels;
}

std::string MessageUnreadableText(const MessageCatalog& catalog) {
    return FitField(LoadErrorText(catalog, "MAINFRM_CPP_13"), kMesgIdWidth);
}

std::string StoreUnreachableText(const MessageCatalog& catalog) {
    return FitField(LoadErrorText(catalog, "MAINFRM_CPP_48"), kMesgIdWidth);
}

} // namespace lx::viewer
