#include "layout/Repulsion.h"

#include "foundation/THelperThread.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <vector>

namespace {

// Nodes summed side by side: four in one SSE register, which every x86-64 processor has, or
// eight in one AVX register where the processor has it. The lanes do the same IEEE operations in
// the same order, so the results are the same bits either way.
using TFloats4 = float __attribute__((vector_size(4 * sizeof(float))));
using TMask4 = int32_t __attribute__((vector_size(4 * sizeof(int32_t))));
using TFloats8 = float __attribute__((vector_size(8 * sizeof(float))));
using TMask8 = int32_t __attribute__((vector_size(8 * sizeof(int32_t))));

// Whole groups of this many nodes go to each thread, whichever width sums them.
constexpr int32_t kGroup = 8;

// Below this many nodes sharing a step with the helper costs more than it saves.
constexpr int32_t kHelpedNodes = 256;
// Lanes a thread takes at a time when two share a step: a few dozen runs in a large network.
constexpr int32_t kRun = 4 * kGroup;

// The nodes that share their spot with another one, in order.
std::vector<int32_t> CoincidentNodes(const TRepulsion& input)
{
    QHash<QPair<float, float>, int32_t> first;
    first.reserve(qsizetype(input.X.size()));
    std::vector<bool> coincident(input.X.size(), false);
    for (size_t i = 0; i < input.X.size(); ++i) {
        // +0 and -0 are one spot: their difference is 0.
        const QPair<float, float> spot(input.X[i] + 0.0f, input.Y[i] + 0.0f);
        const auto found = first.constFind(spot);
        if (found == first.cend()) {
            first.insert(spot, int32_t(i));
        } else {
            coincident[size_t(*found)] = true;
            coincident[i] = true;
        }
    }
    std::vector<int32_t> nodes;
    for (size_t i = 0; i < coincident.size(); ++i)
        if (coincident[i])
            nodes.push_back(int32_t(i));
    return nodes;
}

// Node i's sum, one pair after the other.
void SumForNode(const TRepulsion& input, int32_t i, std::span<float> sumX, std::span<float> sumY,
                QRandomGenerator& random)
{
    float sx = 0;
    float sy = 0;
    if (i != input.Ego) {
        const int32_t n = int32_t(input.X.size());
        for (int32_t j = 0; j < n; ++j) {
            if (j == i)
                continue;
            float dx = input.X[size_t(i)] - input.X[size_t(j)];
            float dy = input.Y[size_t(i)] - input.Y[size_t(j)];
            float q = dx * dx + dy * dy;
            // Written as the vector sum tests it: a position that is no number is within no radius.
            if (!(q < input.R2))
                continue;
            if (q == 0) {
                q = 1;
                dx = 2 * float(random.generateDouble()) - 1;
                dy = 2 * float(random.generateDouble()) - 1;
            }
            if (j == input.Ego)
                q = q / 5;
            const float k = input.K2 / q;
            sx += dx * k;
            sy += dy * k;
        }
    }
    sumX[size_t(i)] = sx;
    sumY[size_t(i)] = sy;
}

// The sums of the nodes from 'from' (a multiple of the lane count) up to 'to', coincident nodes
// aside.
template <typename TLanes, typename TMask>
inline __attribute__((always_inline)) void SumLanesOf(const TRepulsion& input, int32_t from, int32_t to,
                                                      std::span<float> sumX, std::span<float> sumY)
{
    const int32_t n = int32_t(input.X.size());
    constexpr int32_t Lanes = int32_t(sizeof(TLanes) / sizeof(float));
    const TLanes r2 = TLanes{} + input.R2;
    const TLanes k2 = TLanes{} + input.K2;
    for (int32_t first = from; first < to; first += Lanes) {
        TLanes xi{};
        TLanes yi{};
        TMask index{};
        for (int32_t lane = 0; lane < Lanes; ++lane) {
            // Lanes beyond the last node repeat it; their sums are thrown away.
            const int32_t i = std::min(first + lane, n - 1);
            xi[lane] = input.X[size_t(i)];
            yi[lane] = input.Y[size_t(i)];
            index[lane] = first + lane;
        }
        TLanes sx{};
        TLanes sy{};
        for (int32_t j = 0; j < n; ++j) {
            const TLanes dx = xi - input.X[size_t(j)];
            const TLanes dy = yi - input.Y[size_t(j)];
            const TLanes q = dx * dx + dy * dy;
            // A node's own lane adds nothing, as every pair beyond the radius; adding 0 leaves a
            // sum as it is. Nodes on a shared spot are summed again below.
            // Masking the bits keeps the selection in vector registers.
            const TMask near = (q < r2) & (index != j);
            const TLanes k = k2 / (j == input.Ego ? q / 5 : q);
            sx += (TLanes)((TMask)(dx * k) & near);
            sy += (TLanes)((TMask)(dy * k) & near);
        }
        for (int32_t lane = 0; lane < Lanes && first + lane < to; ++lane) {
            const bool ego = first + lane == input.Ego;
            sumX[size_t(first + lane)] = ego ? 0.0f : sx[lane];
            sumY[size_t(first + lane)] = ego ? 0.0f : sy[lane];
        }
    }
}

// Their random directions are drawn in the order of the pairs, as the plain sum draws them.
void SumCoincident(const TRepulsion& input, const std::vector<int32_t>& coincident, std::span<float> sumX,
                   std::span<float> sumY, QRandomGenerator& random)
{
    for (const int32_t i : coincident)
        SumForNode(input, i, sumX, sumY, random);
}

void SumLanesSse(const TRepulsion& input, int32_t from, int32_t to, std::span<float> sumX, std::span<float> sumY)
{
    SumLanesOf<TFloats4, TMask4>(input, from, to, sumX, sumY);
}

#if defined(__x86_64__)
__attribute__((target("avx"))) void SumLanesAvx(const TRepulsion& input, int32_t from, int32_t to,
                                               std::span<float> sumX, std::span<float> sumY)
{
    SumLanesOf<TFloats8, TMask8>(input, from, to, sumX, sumY);
}
#endif

void SumLanes(const TRepulsion& input, int32_t from, int32_t to, std::span<float> sumX, std::span<float> sumY)
{
#if defined(__x86_64__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) {
        SumLanesAvx(input, from, to, sumX, sumY);
        return;
    }
#endif
    SumLanesSse(input, from, to, sumX, sumY);
}

} // namespace

void SumRepulsionInOrder(const TRepulsion& input, std::span<float> sumX, std::span<float> sumY,
                         QRandomGenerator& random)
{
    for (int32_t i = 0; i < int32_t(input.X.size()); ++i)
        SumForNode(input, i, sumX, sumY, random);
}

void SumRepulsion(const TRepulsion& input, std::span<float> sumX, std::span<float> sumY, QRandomGenerator& random,
                  THelperThread* helper)
{
    const int32_t n = int32_t(input.X.size());
    if (helper && n >= kHelpedNodes) {
        // Both threads take runs of whole groups of lanes until none are left, so that a thread
        // slowed by other work does not hold the step up; the groups do not depend on each other.
        std::atomic<int32_t> next = 0;
        const auto take = [&] {
            for (int32_t from = next.fetch_add(kRun); from < n; from = next.fetch_add(kRun))
                SumLanes(input, from, std::min(from + kRun, n), sumX, sumY);
        };
        // Meanwhile this thread also finds the persons sharing a spot, and the helper takes
        // more runs.
        std::vector<int32_t> coincident;
        helper->Run(take, [&] {
            coincident = CoincidentNodes(input);
            take();
        });
        SumCoincident(input, coincident, sumX, sumY, random);
    } else {
        SumLanes(input, 0, n, sumX, sumY);
        SumCoincident(input, CoincidentNodes(input), sumX, sumY, random);
    }
}
