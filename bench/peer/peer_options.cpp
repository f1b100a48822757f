#include "peer_options.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace peer {

namespace {

bool ParsePath(std::string_view text, ParticlePath& path) {
  if (text == "quads")
    path = ParticlePath::kQuads;
  else if (text == "psnode")
    path = ParticlePath::kEngineNodes;
  else if (text == "none")
    path = ParticlePath::kNone;
  else
    return false;
  return true;
}

// "full" is accepted as another name for the whole frame.
bool ParseParts(std::string_view text, SceneParts& parts) {
  if (text == "all" || text == "full")
    parts = SceneParts::kAll;
  else if (text == "clear")
    parts = SceneParts::kClear;
  else if (text == "terrain")
    parts = SceneParts::kTerrain;
  else if (text == "models")
    parts = SceneParts::kModels;
  else
    return false;
  return true;
}

bool ParseCount(const char* text, int& count) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 1000000) return false;
  count = static_cast<int>(value);
  return true;
}

// One option that takes a value; false when the name is not one of them or the value is bad.
bool ParseValued(std::string_view name, const char* value, PeerOptions& options) {
  int count = 0;
  if (name == "--frames") return ParseCount(value, options.frames);
  if (name == "--warmup") return ParseCount(value, options.warmup);
  if (name == "--shot-frame") return ParseCount(value, options.shotFrame);
  if (name == "--particles") return ParsePath(value, options.particles);
  if (name == "--only") return ParseParts(value, options.parts);
  if (name == "--shot") {
    options.shot = value;
    return true;
  }
  if (name == "--scale" && ParseCount(value, count) && count > 0) {
    options.scale = static_cast<unsigned>(count);
    return true;
  }
  return false;
}

}  // namespace

bool ParseOptions(int argc, char** argv, PeerOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--stress") {
      options.stress = true;
      continue;
    }
    if (i + 1 < argc && ParseValued(name, argv[i + 1], options)) {
      ++i;
      continue;
    }
    std::fprintf(stderr, "peer_scene: bad option %s\n", argv[i]);
    return false;
  }
  return options.frames > 0;
}

const char* NameOf(ParticlePath path) {
  switch (path) {
    case ParticlePath::kQuads:
      return "quads";
    case ParticlePath::kEngineNodes:
      return "psnode";
    case ParticlePath::kNone:
      return "none";
  }
  return "?";
}

const char* NameOf(SceneParts parts) {
  switch (parts) {
    case SceneParts::kAll:
      return "all";
    case SceneParts::kClear:
      return "clear";
    case SceneParts::kTerrain:
      return "terrain";
    case SceneParts::kModels:
      return "models";
  }
  return "?";
}

}  // namespace peer
