#include "tools/capture/capture_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32.h"

namespace {

int VirtualKeyByName(const std::string& name) {
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0];
  if (name == "ESC") return VK_ESCAPE;
  if (name.size() >= 2 && name[0] == 'F') {
    const int number = std::atoi(name.c_str() + 1);
    if (number >= 1 && number <= 12) return VK_F1 + number - 1;
  }
  return 0;
}

// KEY:FIRST-END, e.g. W:10-70 holds W during frames 10 to 69.
bool ParseHold(const char* text, KvHeldKey& held) {
  const char* colon = std::strchr(text, ':');
  if (!colon) return false;
  held.virtualKey = VirtualKeyByName(std::string(text, colon));
  return held.virtualKey != 0 &&
         std::sscanf(colon + 1, "%d-%d", &held.firstFrame, &held.endFrame) == 2 &&
         held.firstFrame >= 0 && held.endFrame > held.firstFrame;
}

}  // namespace

bool KvParseCaptureOptions(int argc, char** argv, KvCaptureOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--timing") {
      options.timing = true;
    } else if (option == "--clear-only") {
      options.clearOnly = true;
    } else if (option == "--frames" && hasValue) {
      options.frames = std::atoi(argv[++i]);
      if (options.frames < 1) return error = "--frames needs a positive count", false;
    } else if (option == "--output" && hasValue) {
      options.output = argv[++i];
    } else if (option == "--hold" && hasValue) {
      KvHeldKey held{};
      if (!ParseHold(argv[++i], held)) return error = "--hold needs KEY:FIRST-END", false;
      options.held.push_back(held);
    } else if (option == "--snapshot" && hasValue) {
      options.snapshots.push_back(std::atoi(argv[++i]));
    } else {
      error = "unknown option " + option;
      return false;
    }
  }
  return true;
}
