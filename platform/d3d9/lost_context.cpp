// A context taken away and given back. A browser takes a page's WebGL context away when it
// needs the graphics memory (a tab in the background on a phone, a restarted GPU process) and
// may give it back later with none of its objects. While it is away the program's frames go on
// without drawing; once it is back the device makes its own objects again, and every resource
// its OpenGL object from the copy it keeps in memory, so the program never notices.
#include <algorithm>

#include "platform/d3d9/device.h"

void KvDevice::Adopt(KvDeviceResource* resource) {
  resources_.push_back(resource);
}

void KvDevice::Disown(KvDeviceResource* resource) {
  resources_.erase(std::remove(resources_.begin(), resources_.end(), resource), resources_.end());
}

bool KvDevice::FollowContext() {
  switch (KvTakeGlContextState(window_)) {
    case KvGlContextState::kLost:
      contextLost_ = true;
      break;
    case KvGlContextState::kRestored:
      contextLost_ = false;
      objectsLost_ = true;
      break;
    case KvGlContextState::kUsable:
      break;
  }
  if (objectsLost_ && !contextLost_) RestoreObjects();
  return !contextLost_;
}

// The names of the lost objects are deleted first: a context given back refuses them, which
// only raises errors, drained here; on the desktop (a test's loss) they are really deleted.
void KvDevice::RestoreObjects() {
  MakeCurrent();
  DeleteObjects();
  for (KvDeviceResource* resource : resources_) resource->DeleteGlObject(cache_);
  while (glGetError() != GL_NO_ERROR) {
  }
  objectsLost_ = false;
  cache_ = KvGlCache{};
  programs_ = {};
  state_.dirty |= kKvDirtyOpenGl;
  if (!CreateTargets()) KvSetLastPlatformError("the device's objects cannot be made again");
  for (KvDeviceResource* resource : resources_) resource->MakeGlObject(cache_);
}

void KvDevice::SimulateContextLoss(bool lost) {
  FlushDraws();
  contextLost_ = lost;
  if (!lost) objectsLost_ = true;
}
