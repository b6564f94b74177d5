#include "common/win/choosefile.h"

#include "common/win/uiseam.h"

namespace lx {

std::string DialogFilter(std::string filter) {
    for (char& c : filter)
        if (c == '|') c = '\0';
    return filter + '\0';
}

std::string ChooseFileToOpen(HWND owner, const std::string& title, const std::string& filter) {
    // Room for paths longer than the callers take, so that they can tell the user so.
    char path[1024] = "";
    const std::string filters = DialogFilter(filter);
    OPENFILENAMEA data{};
    data.lStructSize = sizeof data;
    data.hwndOwner = owner;
    data.lpstrFilter = filters.c_str();
    data.lpstrFile = path;
    data.nMaxFile = sizeof path;
    data.lpstrTitle = title.c_str();
    data.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    return ui::GetOpenFileName(&data) ? std::string(path) : std::string();
}

} // namespace lx
