// The pseudo-random series the engine-less fuzz drivers mutate with:
// splitmix64, so a fixed seed gives the same series on every run and a
// failure found in CI is found again on any machine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzzing {

struct Random {
    std::uint64_t state;

    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n ? std::size_t(next() % n) : 0; }
};

} // namespace fuzzing
