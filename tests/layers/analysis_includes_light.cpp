// Compiled with the analysis's include path alone: the tracer is found, the
// illumination model above it is not.
#include "analysis/light_figures.h"
#include "light/illumination_model.h"
