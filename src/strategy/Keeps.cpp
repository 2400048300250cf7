#include "strategy/Keeps.h"

#include <algorithm>

namespace strategy {

namespace {

int codeOf(const Keeps::FaceCounts &counts)
{
    int code = 0;
    for (int face = 6; face >= 1; --face)
        code = code * 6 + counts[face];
    return code;
}

constexpr int codeCount = 6 * 6 * 6 * 6 * 6 * 6;

} // namespace

Keeps::Keeps() : byCode_(codeCount, -1)
{
    // Nondecreasing dice of each size in lexicographic order.
    int next = 0;
    for (int keepSize = 0; keepSize <= 5; ++keepSize) {
        Dice sorted{};
        std::fill(sorted.begin(), sorted.begin() + keepSize, 1);
        for (;;) {
            FaceCounts counts{};
            for (int i = 0; i < keepSize; ++i)
                ++counts[sorted[i]];
            faces[next] = counts;
            size[next] = keepSize;
            byCode_[codeOf(counts)] = std::int16_t(next);
            if (keepSize == 5) {
                const int t = next - firstThrow;
                dice[t] = sorted;
                int arrangements = 120;
                for (int face = 1; face <= 6; ++face) {
                    for (int n = 2; n <= counts[face]; ++n)
                        arrangements /= n;
                }
                probability[t] = float(arrangements / 7776.0);
            }
            ++next;
            int i = keepSize - 1;
            while (i >= 0 && sorted[i] == 6)
                --i;
            if (i < 0)
                break;
            ++sorted[i];
            for (int j = i + 1; j < keepSize; ++j)
                sorted[j] = sorted[i];
        }
    }

    for (int k = 0; k < count; ++k) {
        firstSmaller[k] = std::uint16_t(smaller.size());
        for (int face = 1; face <= 6; ++face) {
            FaceCounts counts = faces[k];
            if (k < firstThrow) {
                ++counts[face];
                withDie[k][face - 1] = std::uint16_t(index(counts));
                --counts[face];
            }
            if (counts[face] > 0) {
                --counts[face];
                smaller.push_back(std::uint16_t(index(counts)));
            }
        }
    }
    firstSmaller[count] = std::uint16_t(smaller.size());
}

int Keeps::index(const FaceCounts &counts) const
{
    int total = 0;
    for (int face = 1; face <= 6; ++face) {
        if (counts[face] < 0 || counts[face] > 5)
            return -1;
        total += counts[face];
    }
    return total <= 5 ? byCode_[codeOf(counts)] : -1;
}

const Keeps &keeps()
{
    static const Keeps tables;
    return tables;
}

Keeps::FaceCounts countFaces(const Dice &dice)
{
    Keeps::FaceCounts counts{};
    for (const int face : dice) {
        if (face >= 1 && face <= 6)
            ++counts[face];
    }
    return counts;
}

} // namespace strategy
