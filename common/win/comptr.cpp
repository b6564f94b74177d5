#include "common/win/comptr.h"

namespace lx {

std::string NarrowText(const wchar_t* text, int length) {
    if (!text || length <= 0) return {};
    int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring WideText(const std::string& text) {
    if (text.empty()) return {};
    int n = static_cast<int>(text.size());
    int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0);
    std::wstring out(size > 0 ? size : 0, L'\0');
    if (size > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), n, &out[0], size);
    return out;
}

Bstr::Bstr(const std::string& text) {
    std::wstring wide = WideText(text);
    b_ = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string Bstr::Text() const { return NarrowText(b_, static_cast<int>(::SysStringLen(b_))); }

} // namespace lx
