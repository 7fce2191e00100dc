#include "unicode/sorted_component_list.h"

bool FindInSortedComponentList(const TComponentList& list, const TComponentKeyCompare& compare, const void* key,
                               int& index) {
    int lo = 0, hi = list.Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = static_cast<int>((static_cast<unsigned>(lo) + static_cast<unsigned>(hi)) >> 1);
        int c = compare(list.Items(mid), key);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                lo = mid;
                found = true;
            }
        }
    }
    index = lo;
    return found;
}
