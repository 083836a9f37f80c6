#include "tibetan_layout.h"

namespace {

constexpr LayoutKey LayoutKeys[] = {
#include "tibetan_layout.inc"
};

// Each virtual key's row, worked out at compile time: every tap that the
// engine sends is looked up here, so the lookup is one read rather than a
// walk through the table.
constexpr unsigned char NoRow = 0xFF;
static_assert(sizeof LayoutKeys / sizeof LayoutKeys[0] < NoRow, "the rows are numbered in a byte");

struct LayoutIndex {
    unsigned char row[256];
};

constexpr LayoutIndex MakeLayoutIndex() {
    LayoutIndex index = {};
    for (unsigned char& row : index.row) {
        row = NoRow;
    }
    for (unsigned i = 0; i < sizeof LayoutKeys / sizeof LayoutKeys[0]; i++) {
        const unsigned vk = LayoutKeys[i].vk;
        if (vk < 256 && index.row[vk] == NoRow) {
            index.row[vk] = static_cast<unsigned char>(i);
        }
    }
    return index;
}

constexpr LayoutIndex RowOfKey = MakeLayoutIndex();

}  // namespace

const LayoutKey* FindLayoutKey(unsigned vk) {
    if (vk >= 256 || RowOfKey.row[vk] == NoRow) {
        return nullptr;
    }
    return &LayoutKeys[RowOfKey.row[vk]];
}
