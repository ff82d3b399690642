// Compiled with the tracer's include path: the illumination model lies above
// the tracer, so this include must fail.
#include "light/illumination_model.h"
