// The order in which a selection sort, highest key first, leaves a list:
// at each position, the first of the highest keys still unplaced is swapped
// in. Such a sort is not stable (a swap can carry an item past its equals);
// this gives exactly its order in n log n instead of n².
#pragma once

#include <cstddef>
#include <span>
#include <vector>

// Entry k of the result is the index, in `keys`, of the item that the sort
// leaves at position k. A NaN key is never chosen over another key, and stays
// where it is when its position comes, as the sort's comparisons have it.
std::vector<std::size_t> SelectionSortOrder(std::span<const float> keys);
