// Compiled with the tracer's include path: the floor below it is in reach.
#include "model/design.h"
#include "trace/ray_tracer.h"
