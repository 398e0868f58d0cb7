#include "platform/qt/tree_view_sibling_sizes.h"

#include <bit>
#include <cassert>

namespace platform::qt {
namespace {

int lowBit(int i)
{
    return i & -i;
}

} // namespace

void SiblingSizes::append(int size)
{
    assert(size > 0);
    // The new node covers (n - lowbit(n), n]: its own size plus the
    // children before it in that range.
    const int n = count() + 1;
    m_sums.push_back(size + sizesBefore(n - 1) - sizesBefore(n - lowBit(n)));
}

void SiblingSizes::grow(int child, int delta)
{
    assert(child >= 0 && child < count());
    for (int i = child + 1; i <= count(); i += lowBit(i))
        m_sums[std::size_t(i - 1)] += delta;
}

int SiblingSizes::sizesBefore(int child) const
{
    assert(child >= 0 && child <= count());
    int sum = 0;
    for (int i = child; i > 0; i -= lowBit(i))
        sum += m_sums[std::size_t(i - 1)];
    return sum;
}

int SiblingSizes::childHolding(int offset, int& before) const
{
    assert(offset >= 0 && offset < total());
    // Descends the implicit tree: the largest prefix of whole subtrees that
    // still ends at or before `offset`.
    int position = 0;
    int remaining = offset;
    for (int step = int(std::bit_floor(unsigned(count()))); step > 0; step >>= 1) {
        int next = position + step;
        if (next <= count() && m_sums[std::size_t(next - 1)] <= remaining) {
            position = next;
            remaining -= m_sums[std::size_t(next - 1)];
        }
    }
    before = offset - remaining;
    return position;
}

} // namespace platform::qt
