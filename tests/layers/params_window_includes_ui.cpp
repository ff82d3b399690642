// The parameters window is made of the widget kit; the application that makes
// the windows is above it, out of its sight.
#include "ui/design_window.h"
