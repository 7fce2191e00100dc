#include "classlib/core/unit_starts.h"

#include <algorithm>
#include <stdexcept>

TUnitStarts::TUnitStarts(std::span<const TUnitStep> table) {
    Run(table, nullptr);
}

TUnitStarts::TUnitStarts(std::span<const TUnitStep> table, const std::vector<TUnitProc>& only) {
    for (TUnitProc start : only)
        if (std::none_of(table.begin(), table.end(), [start](const TUnitStep& step) { return step.start == start; }))
            throw std::invalid_argument("a unit start-up that is not in the program's table");
    Run(table, &only);
}

TUnitStarts::~TUnitStarts() {
    StopAll();
}

void TUnitStarts::Run(std::span<const TUnitStep> table, const std::vector<TUnitProc>* only) {
    try {
        for (const TUnitStep& step : table) {
            if (only && std::find(only->begin(), only->end(), step.start) == only->end()) continue;
            step.start();
            stops_.push_back(step.stop);
            if (step.carry_on && !step.carry_on()) {
                complete_ = false;
                return;
            }
        }
    } catch (...) {
        StopAll();
        throw;
    }
}

void TUnitStarts::StopAll() noexcept {
    while (!stops_.empty()) {
        const TUnitProc stop = stops_.back();
        stops_.pop_back();
        if (stop) stop();
    }
}
