// A program's unit start-ups and shut-downs. One table per program gives
// their order; the program's entry runs it (never a static constructor),
// and its tests run the same table, whole or in part.
#pragma once
#include <span>
#include <vector>

using TUnitProc = void (*)();

struct TUnitStep {
    TUnitProc start;
    // nullptr when the unit has nothing to shut down. Must not throw.
    TUnitProc stop = nullptr;
    // nullptr, or asked after the start-up: false ends the program's
    // start-up there (the unit has told the user and asked to end).
    bool (*carry_on)() = nullptr;
};

// Starts the units of a table in its order and shuts down the ones that
// started, in the reverse order, when it goes (also when a start-up fails
// part-way: then the failure goes on once the others are shut down).
class TUnitStarts {
public:
    explicit TUnitStarts(std::span<const TUnitStep> table);
    // Only the steps whose start-up is named, still in the table's order;
    // naming one the table lacks raises std::invalid_argument.
    TUnitStarts(std::span<const TUnitStep> table, const std::vector<TUnitProc>& only);
    ~TUnitStarts();
    TUnitStarts(const TUnitStarts&) = delete;
    TUnitStarts& operator=(const TUnitStarts&) = delete;

    // False when a unit ended the start-up before the table's end.
    bool Complete() const { return complete_; }

private:
    void Run(std::span<const TUnitStep> table, const std::vector<TUnitProc>* only);
    void StopAll() noexcept;

    std::vector<TUnitProc> stops_;  // of the started units, in start order
    bool complete_ = true;
};

// How often a unit that several tables (or tests) may start is started:
// only the first start-up and the shut-down that matches it do the work;
// a shut-down without a start-up does nothing.
class TUnitStartCount {
public:
    // True for the first start-up.
    bool Start() { return count_++ == 0; }
    // True for the shut-down of the last start-up.
    bool Stop() { return count_ > 0 && --count_ == 0; }

private:
    int count_ = 0;
};
