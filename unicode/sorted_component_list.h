// Binary search over a component list kept sorted by the caller's order.
#pragma once
#include <functional>

#include "classlib/core/component_list.h"

// <0, 0, >0 as the listed component sorts before, with or after the key.
using TComponentKeyCompare = std::function<int(TComponent* listed, const void* key)>;

// True when found; index is the match or the place to insert the key.
bool FindInSortedComponentList(const TComponentList& list, const TComponentKeyCompare& compare, const void* key,
                               int& index);
