// Byte-level changes the engine-less fuzz drivers share: each draws from
// the driver's series in a fixed order, so a seed gives the same inputs on
// every machine.
#pragma once

#include "fuzz_random.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzzing {

using Bytes = std::vector<std::uint8_t>;

// One to eight random bytes inserted anywhere, the end included.
inline void InsertRandomBytes(Bytes& b, Random& rnd)
{
    std::size_t at = rnd.below(b.size() + 1);
    Bytes extra(1 + rnd.below(8));
    for (auto& x : extra)
        x = std::uint8_t(rnd.next());
    b.insert(b.begin() + std::ptrdiff_t(at), extra.begin(), extra.end());
}

// One to sixteen bytes deleted; `b` is not empty.
inline void DeleteRandomRange(Bytes& b, Random& rnd)
{
    std::size_t at = rnd.below(b.size());
    std::size_t n = 1 + rnd.below(std::min<std::size_t>(16, b.size() - at));
    b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
}

// Up to sixteen bytes copied over another place of the block.
inline void CopyRandomRange(Bytes& b, Random& rnd)
{
    std::size_t n = 1 + rnd.below(16);
    std::size_t from = rnd.below(b.size()), to = rnd.below(b.size());
    for (std::size_t i = 0; i < n && from + i < b.size() && to + i < b.size(); ++i)
        b[to + i] = b[from + i];
}

} // namespace fuzzing
