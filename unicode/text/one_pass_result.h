// Builds a coder's result in one pass. The coder fills a small buffer that
// stays in the cache, and each filled buffer is appended to a result whose
// room was reserved beforehand: every page of the result is written once,
// with no zero-filling, no counting pass and no copy of the whole.
#pragma once
#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>

namespace one_pass {

// A coder fills out .. limit and may overrun limit by less than its
// kMaxStep units (the most one step writes); it gives the end of what it
// wrote, and Done() once its source is used up or it failed. Each piece
// goes to sink(units, count).
template <typename Unit, typename Coder, typename Sink>
void Drain(Coder& coder, Sink sink) {
    constexpr size_t kChunk = 8192 / sizeof(Unit);
    Unit chunk[kChunk + Coder::kMaxStep];
    while (!coder.Done()) sink(chunk, static_cast<size_t>(coder.Fill(chunk, chunk + kChunk) - chunk));
}

// Below this many bytes a result gives back its unused room; a larger one
// keeps it, since its untouched pages hold no memory and a copy would touch
// as many fresh pages as the result has.
constexpr size_t kShrinkBelowBytes = 1 << 20;

// bound: at least the units the coder makes. Reserving it may fail where
// the exact size would not (a 32-bit address space, a bound past
// max_size()); then a copy of the coder counts first. The coder is left
// done, so that the caller can ask it how it ended.
template <typename Unit, typename Coder>
std::basic_string<Unit> Collect(Coder& coder, size_t bound) {
    std::basic_string<Unit> result;
    bool reserved = true;
    try {
        result.reserve(bound);
    } catch (const std::bad_alloc&) {
        reserved = false;
    } catch (const std::length_error&) {
        reserved = false;
    }
    if (!reserved) {
        Coder counter = coder;
        size_t count = 0;
        Drain<Unit>(counter, [&](const Unit*, size_t n) { count += n; });
        result.reserve(count);
    }
    Drain<Unit>(coder, [&](const Unit* units, size_t n) { result.append(units, n); });
    if (result.size() * sizeof(Unit) < kShrinkBelowBytes && result.capacity() > result.size()) result.shrink_to_fit();
    return result;
}

// n * factor, or SIZE_MAX where that would wrap.
inline size_t SaturatedProduct(size_t n, size_t factor) {
    return n > static_cast<size_t>(-1) / factor ? static_cast<size_t>(-1) : n * factor;
}

}  // namespace one_pass
