// Sorting for the lists. A bottom-up merge sort: stable, and it stays
// within the vector whatever the comparison answers, where std::sort may
// run past the ends when a caller's comparison contradicts itself.
#pragma once
#include <algorithm>
#include <cstddef>
#include <vector>

// Sorts cheaply copied items (pointers, indices) by compare(a, b) < 0.
// Items are copied, not moved, so a comparison that throws leaves the
// vector as it was.
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
