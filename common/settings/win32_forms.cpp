#include "common/settings/win32_forms.h"

#include "common/settings/fixed_text.h"

namespace lx {

LOGFONTA ToLogFont(const FontDesc& f) {
    LOGFONTA lf = {};
    lf.lfHeight = f.height;
    lf.lfWidth = f.width;
    lf.lfEscapement = f.escapement;
    lf.lfOrientation = f.orientation;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeOut;
    lf.lfCharSet = f.charSet;
    lf.lfOutPrecision = f.outPrecision;
    lf.lfClipPrecision = f.clipPrecision;
    lf.lfQuality = f.quality;
    lf.lfPitchAndFamily = f.pitchAndFamily;
    CopyText(lf.lfFaceName, sizeof lf.lfFaceName, TextOf(f.faceName).c_str());
    return lf;
}

FontDesc FromLogFont(const LOGFONTA& lf) {
    FontDesc f;
    f.height = lf.lfHeight;
    f.width = lf.lfWidth;
    f.escapement = lf.lfEscapement;
    f.orientation = lf.lfOrientation;
    f.weight = lf.lfWeight;
    f.italic = lf.lfItalic;
    f.underline = lf.lfUnderline;
    f.strikeOut = lf.lfStrikeOut;
    f.charSet = lf.lfCharSet;
    f.outPrecision = lf.lfOutPrecision;
    f.clipPrecision = lf.lfClipPrecision;
    f.quality = lf.lfQuality;
    f.pitchAndFamily = lf.lfPitchAndFamily;
    CopyText(f.faceName, TextOf(lf.lfFaceName, sizeof lf.lfFaceName).c_str());
    return f;
}

RECT ToRect(const Rect32& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

Rect32 FromRect(const RECT& r) {
    return Rect32{static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top),
                  static_cast<std::int32_t>(r.right), static_cast<std::int32_t>(r.bottom)};
}

} // namespace lx
