// For the tests under faults: a working folder held for a scope, a solid-colour PNG of any size,
// frames on the test clock, and a shutdown that must leave neither device nor Direct3D behind.
#pragma once

#include <string>

#include "app/application.h"

// Makes `folder` the working directory until destroyed, then returns to the previous one.
class KvWorkingFolder {
 public:
  explicit KvWorkingFolder(const std::string& folder);
  ~KvWorkingFolder();
  KvWorkingFolder(const KvWorkingFolder&) = delete;
  KvWorkingFolder& operator=(const KvWorkingFolder&) = delete;

 private:
  std::string previous_;
};

// An opaque RGB PNG of one colour (0xRRGGBB), compressed a row at a time so that even
// 8192 × 8192 needs little memory.
void KvWriteSolidPng(const std::string& path, int width, int height, DWORD rgb);

// Runs `count` frames, each 17 ms after the last on the test clock (a KvTestClock must be
// held), so that every call of Frame passes the frame cap.
void KvRunFrames(KV_APPLICATION& app, DWORD& now, int count);

// Shuts the application down and expects its device and Direct3D object to be destroyed by
// it: every buffer, texture and mesh that held the device has let go of it.
void KvExpectShutdownReleasesEverything(KV_APPLICATION& app);
