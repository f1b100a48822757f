// The desktop shows each frame when it is swapped (swap interval 0), so nothing waits for the
// display: the program's own frame cap sets the pace.
#include "platform/win32/internal.h"

void KvFramePresented() {}

void KvWaitForFrame() {}
