#pragma once

// Registers the program's icons (they live in a static library, whose resources are not
// registered by themselves). Safe to call more than once.
void InitAppResources();
