#include "layout/Repulsion.h"

#include <QHash>

#include <algorithm>

namespace {

// Eight nodes summed side by side. GCC and Clang map these onto the vector registers there are.
constexpr int32_t kLanes = 8;
using TLanes = float __attribute__((vector_size(kLanes * sizeof(float))));
using TMask = int32_t __attribute__((vector_size(kLanes * sizeof(int32_t))));

bool AnyCoincide(const TRepulsion& input)
{
    QHash<QPair<float, float>, int> seen;
    seen.reserve(qsizetype(input.X.size()));
    for (size_t i = 0; i < input.X.size(); ++i) {
        // +0 and -0 are one spot: their difference is 0.
        const QPair<float, float> spot(input.X[i] + 0.0f, input.Y[i] + 0.0f);
        if (seen.contains(spot))
            return true;
        seen.insert(spot, 0);
    }
    return false;
}

} // namespace

void SumRepulsionInOrder(const TRepulsion& input, std::span<float> sumX, std::span<float> sumY,
                         QRandomGenerator& random)
{
    const int32_t n = int32_t(input.X.size());
    for (int32_t i = 0; i < n; ++i) {
        float sx = 0;
        float sy = 0;
        if (i != input.Ego) {
            for (int32_t j = 0; j < n; ++j) {
                if (j == i)
                    continue;
                float dx = input.X[i] - input.X[j];
                float dy = input.Y[i] - input.Y[j];
                float q = dx * dx + dy * dy;
                if (q >= input.R2)
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
}

void SumRepulsion(const TRepulsion& input, std::span<float> sumX, std::span<float> sumY, QRandomGenerator& random)
{
    if (AnyCoincide(input)) {
        SumRepulsionInOrder(input, sumX, sumY, random);
        return;
    }
    const int32_t n = int32_t(input.X.size());
    const TLanes r2 = TLanes{} + input.R2;
    const TLanes k2 = TLanes{} + input.K2;
    for (int32_t first = 0; first < n; first += kLanes) {
        TLanes xi{};
        TLanes yi{};
        TMask index{};
        for (int32_t lane = 0; lane < kLanes; ++lane) {
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
            // No two nodes coincide, so only a node's own lane has q = 0; it adds nothing, as
            // every pair beyond the radius. Adding 0 leaves a sum as it is.
            const TMask near = (q < r2) & (index != j);
            const TLanes k = k2 / (j == input.Ego ? q / 5 : q);
            sx += near ? dx * k : TLanes{};
            sy += near ? dy * k : TLanes{};
        }
        for (int32_t lane = 0; lane < kLanes && first + lane < n; ++lane) {
            const bool ego = first + lane == input.Ego;
            sumX[size_t(first + lane)] = ego ? 0.0f : sx[lane];
            sumY[size_t(first + lane)] = ego ? 0.0f : sy[lane];
        }
    }
}
