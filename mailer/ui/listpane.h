// What the folder pane and the message list share: a host window holding one owner-drawn,
// fixed-height list box that fills it, the list's messages passed to the pane, the pane's
// font from its font file and the item height that follows from it.
#pragma once
#include "common/win/handles.h"
#include "common/win/window.h"

#include <windows.h>
#include <string>

namespace lx {

class MessageCatalog;

class ListPane : public Window {
public:
    HWND List() const { return list_; }
    int ItemHeight() const { return itemHeight_; }
    HFONT Font() const { return font_.Get(); }
    const LOGFONTA& LogFont() const { return logFont_; }
    // Index under a point in the list's client coordinates, -1 beyond the last item.
    int IndexAt(int y) const;
    int Count() const;

protected:
    ListPane();
    ~ListPane() override;
    // Registers the host class once, creates host and list box; `listStyle` adds to the
    // common owner-drawn list styles (with LBS_NODATA the list keeps no strings: the pane draws
    // its rows from its own copy).
    bool CreatePane(HWND parent, const char* className, DWORD listStyle, int id);

    // Messages of the list box; set `handled` to keep the list's own handling away.
    virtual LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
        return 0;
    }
    virtual void OnDrawItem(const DRAWITEMSTRUCT& item) = 0;
    virtual void OnListNotify(int code) {}

    // The font of the file in `folder`, or the default pane font when it cannot be read.
    void LoadFont(const std::string& folder, const char* file);
    // The font dialog on the current font; on OK the file is written and the font applied.
    bool ChooseAndSaveFont(const std::string& folder, const char* file);

    // Text drawn single-line, vertically centred, clipped, without prefix processing.
    static void DrawCell(HDC dc, const std::string& text, RECT cell);
    // A 16-by-16 bitmap resource stretched into `area`.
    static void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& area);

private:
    void ApplyFont();
    static LRESULT CALLBACK ListProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);

    HWND list_ = nullptr;
    GdiObject<HFONT> font_;
    LOGFONTA logFont_{};
    int itemHeight_ = 18;
};

} // namespace lx
