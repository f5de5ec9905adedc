#pragma once

// The network the view benchmarks paint and edit: a 1600 x 1000 view of persons with twice as
// many links, labels on. A frame at 60 Hz has 16.7 ms.
#include "view/TEgoNetGraphDisplay.h"

#include <memory>

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// Sizes the view and fills its model with the given number of persons.
void FillView(TEgoNetGraphDisplay* view, int persons);
std::unique_ptr<TEgoNetGraphDisplay> BuildView(int persons);
