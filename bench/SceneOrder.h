#ifndef DENDRINE_BENCH_SCENE_ORDER_H
#define DENDRINE_BENCH_SCENE_ORDER_H
// Opening a scene whose array connections come in ascending and in
// descending index order: the host must cost about the same for both.

#include "bench/Measure.h"

#include <string>

namespace bench {

// Writes two scene files with `connections` children linked under one
// element, in ascending and descending index order, and opens each (steps
// "scene_open_ascending" and "scene_open_descending").
void measureSceneOrder(unsigned long connections, const std::string& workDir, Recorder& recorder);

}  // namespace bench

#endif
