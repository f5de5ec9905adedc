#pragma once

#include <QRandomGenerator>

#include <cstdint>
#include <span>

class THelperThread;

// The push that every connected node of a spring layout receives from every other one within
// the repulsion radius: for nodes i and j with d = position(i) - position(j) and q = |d|^2 < R2,
// i gets d * K2 / q. Nodes on the same spot push in a random direction (q counted as 1). The
// ego of an ego-centric layout, when given, pushes five times harder (q divided by 5) and gets
// no push itself (its sum stays 0).
struct TRepulsion
{
    std::span<const float> X;
    std::span<const float> Y;
    float R2 = 0;
    float K2 = 0;
    int32_t Ego = -1;
};

// Each node's sum, adding the pushes of the others in their order, exactly as SumRepulsionInOrder
// computes it; several nodes are summed at once, which the compiler turns into vector
// instructions without changing a bit of the result. Given a helper, it sums the later half of
// the nodes of a large network meanwhile; every sum is still added in the same order.
void SumRepulsion(const TRepulsion& input, std::span<float> sumX, std::span<float> sumY, QRandomGenerator& random,
                  THelperThread* helper = nullptr);

// One node after the other, one pair after the other; random directions for coincident nodes
// are drawn in this order, by both functions.
void SumRepulsionInOrder(const TRepulsion& input, std::span<float> sumX, std::span<float> sumY,
                         QRandomGenerator& random);
