#include "gmdkit.h"

extern "C" const char* gmdk_version(void) { return GMDKIT_VERSION; }
