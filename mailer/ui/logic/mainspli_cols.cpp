#include "mailer/ui/logic/mainspli_cols.h"

#include <cstdlib>

namespace lx {

ListColumns::ListColumns(int x0, int right, int dateTextWidth)
    : x0_(x0), dateRight_(x0 + kDateRight), addressRight_(x0 + kAddressRight), right_(right) {
    const int needed = IconRight() + dateTextWidth + kCellPadding;
    if (dateTextWidth > 0 && needed > dateRight_) {
        addressRight_ += needed - dateRight_;
        dateRight_ = needed;
    }
}

// Cells from another layout (or a damaged file) must still leave every column usable.
namespace {

// The largest coordinate a window can have: stored numbers beyond it come from a damaged file,
// and widths computed from them could overflow.
constexpr int kMostCoordinate = 32767;

bool IsCoordinate(int v) { return v >= -kMostCoordinate && v <= kMostCoordinate; }

} // namespace

bool ListColumns::CellsFit(const std::array<Rect32, kListColumns>& cells, int x0) {
    if (!IsCoordinate(x0) || !IsCoordinate(cells[1].right) || !IsCoordinate(cells[2].right))
        return false;
    return cells[1].left == x0 + kIconWidth && cells[1].right - cells[1].left >= kMinDate &&
           cells[2].left == cells[1].right && cells[2].right - cells[2].left >= kMinAroundAddress;
}

ListColumns ListColumns::FromCells(const std::array<Rect32, kListColumns>& cells, int x0, int right,
                                   int dateTextWidth) {
    ListColumns columns(x0, right, dateTextWidth);
    if (!CellsFit(cells, x0)) return columns;
    columns.dateRight_ = cells[1].right;
    columns.addressRight_ = cells[2].right;
    return columns;
}

ColumnBorder ListColumns::BorderAt(int x) const {
    if (std::abs(x - dateRight_) <= kGrip) return ColumnBorder::DateAddress;
    if (std::abs(x - addressRight_) <= kGrip) return ColumnBorder::AddressSubject;
    return ColumnBorder::None;
}

bool ListColumns::MoveBorder(ColumnBorder border, int x) {
    if (border == ColumnBorder::DateAddress) {
        const int shift = x - dateRight_;
        if (x - IconRight() < kMinDate) return false;
        if (right_ - (addressRight_ + shift) < kMinSubject) return false;
        dateRight_ = x;
        addressRight_ += shift;
        return true;
    }
    if (border == ColumnBorder::AddressSubject) {
        if (x - dateRight_ < kMinAroundAddress) return false;
        if (right_ - x < kMinAroundAddress) return false;
        addressRight_ = x;
        return true;
    }
    return false;
}

std::array<Rect32, kListColumns> ListColumns::Cells(int height) const {
    return {Rect32{x0_, 0, IconRight(), height}, Rect32{IconRight(), 0, dateRight_, height},
            Rect32{dateRight_, 0, addressRight_, height}, Rect32{addressRight_, 0, right_, height}};
}

} // namespace lx
