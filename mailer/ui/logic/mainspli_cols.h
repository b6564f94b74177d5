// The message list's four header columns over the splitter's right pane, and the rules for
// dragging their two movable borders. Portable; the splitter draws and drags with them.
#pragma once
#include "common/settings/window_file.h"
#include <array>

namespace lx {

enum class ColumnBorder { None, DateAddress, AddressSubject };

class ListColumns {
public:
    static constexpr int kIconWidth = 36;
    static constexpr int kDateRight = 120;    // from x0
    static constexpr int kAddressRight = 346; // from x0
    static constexpr int kMinDate = 25;
    static constexpr int kMinSubject = 65;
    static constexpr int kMinAroundAddress = 33;
    static constexpr int kGrip = 3;        // pixels either side of a border that catch it
    static constexpr int kCellPadding = 8; // the list draws each cell 2 pixels in, plus room

    // Columns starting at x0 with the default widths; `right` is the header's right edge. The
    // date column is widened when `dateTextWidth` (the widest date in the list's font, in
    // pixels) would not fit its default width; the address column keeps its width.
    ListColumns(int x0, int right, int dateTextWidth = 0);
    // Whether stored cells (Lorvex.WND) describe usable columns starting at x0.
    static bool CellsFit(const std::array<Rect32, kListColumns>& cells, int x0);
    // Columns from stored cells; the defaults when the cells do not fit together.
    static ListColumns FromCells(const std::array<Rect32, kListColumns>& cells, int x0, int right,
                                 int dateTextWidth = 0);

    int Left() const { return x0_; }
    int IconRight() const { return x0_ + kIconWidth; }
    int DateRight() const { return dateRight_; }
    int AddressRight() const { return addressRight_; }
    int Right() const { return right_; }
    void SetRight(int right) { right_ = right; }

    ColumnBorder BorderAt(int x) const;
    // Moves a border to x when the neighbouring columns keep their minimum widths; false (and
    // nothing moved) otherwise. The date/address border carries the address column with it.
    bool MoveBorder(ColumnBorder border, int x);

    // The four header cells (icon, date, address, subject), `height` pixels high from top 0.
    std::array<Rect32, kListColumns> Cells(int height) const;

private:
    int x0_;
    int dateRight_;
    int addressRight_;
    int right_;
};

} // namespace lx
