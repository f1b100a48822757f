// An application whose scene stands on a recording device, without a window: empty models,
// emitters without textures, the two cameras of the set-up. For frame and control tests.
#pragma once

#include <memory>

#include "app/application.h"
#include "platform/testing.h"
#include "tests/support/recording_device.h"

struct KvSceneOnRecorder {
  KvSceneOnRecorder();
  ~KvSceneOnRecorder();

  KvRecordingDevice recorder;
  std::unique_ptr<KV_APPLICATION> application;
};

// The clock that timeGetTime answers while a test holds it.
class KvTestClock {
 public:
  KvTestClock() {
    kv_testing::SetClock([] { return now_; });
  }
  ~KvTestClock() { kv_testing::SetClock(nullptr); }
  static void Set(DWORD now) { now_ = now; }

 private:
  static inline DWORD now_ = 0;
};
