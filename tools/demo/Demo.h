// The demo collection: believable stock records for trying the program and
// for the benchmarks.  Deterministic: the same seed gives the same records on
// every machine, because the generator uses its own PRNG and its own
// arithmetic rather than the standard library's distributions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rackbook {

// SplitMix64: small, fast, and its output is fixed by its definition.
class Prng {
public:
    explicit Prng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // A number in [0, bound); bound > 0.  The tiny modulo bias does not
    // matter for demo data.
    std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>(next() % bound); }
    bool chance(std::uint32_t percent) { return below(100) < percent; }

private:
    std::uint64_t state_;
};

// One record in the column order of the default StockTable.
using DemoRecord = std::vector<std::optional<std::string>>;

// Makes records one after another.  Places run rack by rack, box by box
// through 9 x 9 positions (A1 .. I9), skipping some slots, so every key
// Rack_Box_Position is unique.
class DemoGenerator {
public:
    explicit DemoGenerator(std::uint64_t seed);
    DemoRecord next();

private:
    void advancePlace();
    Prng prng_;
    int rack_ = 1;
    int box_ = 1;
    int slot_ = 0; // 0 .. 80 within the box
};

} // namespace rackbook
