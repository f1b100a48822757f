// The testing seam: lets tests and the offscreen capture tool replace the clock, press keys
// and read the picture. Nothing in the application uses it. Each subsystem keeps its own part.
#pragma once

#include "platform/d3d9/testing_device.h"
#include "platform/win32/testing_input.h"
