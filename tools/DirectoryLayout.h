// The layout the game's container files share: a header, one fixed-size entry
// per item, then the items' bytes in the same order.
#pragma once

#include "platform/classlib/Exception.h"

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace Tools {

// Each item has a Data byte vector; makeEntry(item, offset) gives its entry,
// offset counting from the end of the directory.
template <typename Header, typename Item, typename MakeEntry>
std::vector<uint8_t> LayOutDirectory(const Header& header, const std::vector<const Item*>& items,
                                     MakeEntry makeEntry) {
    using Entry = std::invoke_result_t<MakeEntry, const Item&, uint32_t>;
    static_assert(std::is_trivially_copyable_v<Header> && std::is_trivially_copyable_v<Entry>);
    std::vector<uint8_t> bytes(sizeof header + items.size() * sizeof(Entry));
    std::memcpy(bytes.data(), &header, sizeof header);
    uint64_t offset = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (offset + items[i]->Data.size() > UINT32_MAX)
            throw ClassLib::Exception("The data do not fit one file (more than 4 GB).");
        const Entry entry = makeEntry(*items[i], static_cast<uint32_t>(offset));
        std::memcpy(bytes.data() + sizeof header + i * sizeof entry, &entry, sizeof entry);
        offset += items[i]->Data.size();
    }
    for (const Item* item : items)
        bytes.insert(bytes.end(), item->Data.begin(), item->Data.end());
    return bytes;
}

} // namespace Tools
