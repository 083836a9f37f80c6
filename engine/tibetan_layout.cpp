#include "tibetan_layout.h"

namespace {

constexpr LayoutKey LayoutKeys[] = {
#include "tibetan_layout.inc"
};

}  // namespace

const LayoutKey* FindLayoutKey(unsigned vk) {
    for (const LayoutKey& key : LayoutKeys) {
        if (key.vk == vk) {
            return &key;
        }
    }
    return nullptr;
}
