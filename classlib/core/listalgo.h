// Vector operations the lists share.
#pragma once
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <numeric>
#include <vector>

// Moves the item at from to index to, shifting those between.
template <class T>
void MoveItem(std::vector<T>& items, size_t from, size_t to) {
    auto first = items.begin();
    if (from < to) std::rotate(first + from, first + from + 1, first + to + 1);
    else std::rotate(first + to, first + from, first + from + 1);
}

// Reallocates for exactly capacity items (at least the current count).
template <class T>
void SetVectorCapacity(std::vector<T>& items, size_t capacity) {
    std::vector<T> resized;
    resized.reserve(std::max(capacity, items.size()));
    std::move(items.begin(), items.end(), std::back_inserter(resized));
    items.swap(resized);
}

// A bottom-up merge sort: stable, and it stays within the vector whatever
// the comparison answers, where std::sort may run past the ends when a
// caller's comparison contradicts itself. Sorts cheaply copied items
// (pointers, indices) by compare(a, b) < 0; they are copied, not moved, so a
// comparison that throws leaves the vector as it was.
template <class T, class Compare>
void MergeSort(std::vector<T>& items, Compare compare) {
    const size_t n = items.size();
    if (n < 2) return;
    std::vector<T> merged(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0, hi = 0; lo < n; lo = hi) {
            size_t mid = lo + std::min(width, n - lo);
            hi = mid + std::min(width, n - mid);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) merged[k++] = compare(items[j], items[i]) < 0 ? items[j++] : items[i++];
            while (i < mid) merged[k++] = items[i++];
            while (j < hi) merged[k++] = items[j++];
        }
        items.swap(merged);
    }
}

// The order of n items, compared by index, that MergeSort gives.
template <class Compare>
std::vector<int> SortedOrder(size_t n, Compare compare) {
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    MergeSort(order, compare);
    return order;
}
