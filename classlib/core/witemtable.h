#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "classlib/core/wtreestore.h"

// A value per tree item, kept by handle in pages made on first use. Handles
// are dense, so the pages fill; and unlike a hash map the table never moves
// what it holds as it grows, so a long run of work that adds items never
// stalls on a rehash. A slot holds a default value until set.
template <typename T>
class WItemTable {
public:
    // The slot of item; null while its page is not made.
    T* Find(WTreeItem item) const {
        const std::size_t page = item / kPageSize;
        return page < pages_.size() && pages_[page] ? &pages_[page][item % kPageSize] : nullptr;
    }

    // The slot of item, its page made when missing.
    T& At(WTreeItem item) {
        const std::size_t page = item / kPageSize;
        if (page >= pages_.size()) {
            pages_.resize(page + 1);
        }
        if (!pages_[page]) {
            pages_[page] = std::make_unique<T[]>(kPageSize);
        }
        return pages_[page][item % kPageSize];
    }

    void Clear() { pages_.clear(); }

    // Calls visit(item, slot) for every slot of the pages made.
    template <typename Visit>
    void ForEach(const Visit& visit) const {
        for (std::size_t page = 0; page < pages_.size(); ++page) {
            for (std::size_t at = 0; pages_[page] && at < kPageSize; ++at) {
                visit(static_cast<WTreeItem>(page * kPageSize + at), pages_[page][at]);
            }
        }
    }

private:
    static constexpr std::size_t kPageSize = 4096;
    std::vector<std::unique_ptr<T[]>> pages_;
};
