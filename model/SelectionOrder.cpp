#include "model/SelectionOrder.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace {

constexpr std::size_t kPlaced = std::numeric_limits<std::size_t>::max();

// A tournament over the positions not yet placed: each node holds the
// position that wins its range, the leftmost among the highest keys.
class Tournament {
public:
    Tournament(std::span<const float> keys, const std::vector<std::size_t>& items)
        : keys_(keys), items_(items), leaves_(std::bit_ceil(items.size())), nodes_(2 * leaves_, kPlaced)
    {
        for (std::size_t p = 0; p < items.size(); ++p) nodes_[leaves_ + p] = p;
        for (std::size_t n = leaves_ - 1; n > 0; --n) nodes_[n] = Winner(nodes_[2 * n], nodes_[2 * n + 1]);
    }

    std::size_t Best() const { return nodes_[1]; }

    // Position `p` now holds another item, or none (kPlaced) once placed.
    void Update(std::size_t p, bool placed)
    {
        std::size_t n = leaves_ + p;
        nodes_[n] = placed ? kPlaced : p;
        for (n /= 2; n > 0; n /= 2) nodes_[n] = Winner(nodes_[2 * n], nodes_[2 * n + 1]);
    }

private:
    // The right side wins only with a strictly higher key; a NaN key loses to any number.
    std::size_t Winner(std::size_t left, std::size_t right) const
    {
        if (right == kPlaced) return left;
        if (left == kPlaced) return right;
        const float l = keys_[items_[left]];
        const float r = keys_[items_[right]];
        if (std::isnan(r)) return left;
        return std::isnan(l) || r > l ? right : left;
    }

    std::span<const float> keys_;
    const std::vector<std::size_t>& items_;  // the item at each position
    std::size_t leaves_;
    std::vector<std::size_t> nodes_;  // 1-based heap layout; leaves from leaves_ on
};

}  // namespace

std::vector<std::size_t> SelectionSortOrder(std::span<const float> keys)
{
    std::vector<std::size_t> items(keys.size());
    std::iota(items.begin(), items.end(), std::size_t{0});
    if (items.size() < 2) return items;
    Tournament tournament(keys, items);
    for (std::size_t i = 0; i < items.size(); ++i) {
        // The sort compares each later key with the best so far: behind a NaN at
        // position i nothing can win, so the item stays.
        const std::size_t best = std::isnan(keys[items[i]]) ? i : tournament.Best();
        if (best != i) {
            std::swap(items[i], items[best]);
            tournament.Update(best, false);
        }
        tournament.Update(i, true);
    }
    return items;
}
