#include "classlib/core/random.h"

#include <chrono>
#include <mutex>
#include <random>

namespace {

struct TGenerator {
    std::mutex lock;
    std::mt19937 engine;  // default seed: a fixed sequence until Randomize
};

TGenerator& Generator() {
    static TGenerator generator;
    return generator;
}

}  // namespace

void Randomize() {
    auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    TGenerator& g = Generator();
    std::lock_guard<std::mutex> guard(g.lock);
    std::seed_seq seed{static_cast<uint32_t>(ticks), static_cast<uint32_t>(static_cast<uint64_t>(ticks) >> 32)};
    g.engine.seed(seed);
}

int32_t Random(int32_t range) {
    if (range < 1) return 0;
    TGenerator& g = Generator();
    std::lock_guard<std::mutex> guard(g.lock);
    return std::uniform_int_distribution<int32_t>(0, range - 1)(g.engine);
}
