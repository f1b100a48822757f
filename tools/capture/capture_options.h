// Command line of the offscreen capture tool.
#pragma once

#include <string>
#include <vector>

struct KvHeldKey {
  int virtualKey;
  int firstFrame;  // held from this frame
  int endFrame;    // released before this frame
};

struct KvCaptureOptions {
  int frames = 180;
  std::string output = "capture.png";
  bool timing = false;     // report frame times instead of pacing the clock
  bool clearOnly = false;  // frames that only clear and present, for the fixed cost per frame
  std::vector<KvHeldKey> held;
  // Frames after which a picture is saved as well: output with "-<frame>" before ".png".
  std::vector<int> snapshots;
};

// False, with a one-line reason in error, on an option it cannot read.
bool KvParseCaptureOptions(int argc, char** argv, KvCaptureOptions& options, std::string& error);
