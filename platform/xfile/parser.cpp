// The structure of a .x body: data objects, their optional names, nested children, references,
// frames with their transform matrices. Unknown objects (templates included) are skipped.
#include <algorithm>

#include "platform/xfile/parser.h"

namespace {

constexpr int kMaxFrameDepth = 64;

bool IsNameLike(KvXTokenKind kind) {
  return kind == KvXTokenKind::kName || kind == KvXTokenKind::kInteger ||
         kind == KvXTokenKind::kFloat;
}

}  // namespace

bool KvXParser::Fail(const char* message) {
  if (error_.empty()) error_ = tokens_.Error().empty() ? message : tokens_.Error();
  return false;
}

bool KvXParser::ParseFile(KvXScene& scene) {
  scene_ = &scene;
  const bool ok =
      ReadChildren([this](std::string_view type) { return ParseFrameChild(type, -1, 0); },
                   [](std::string_view) { return true; }, true);
  return ok || Fail("malformed file");
}

bool KvXParser::ReadChildren(const ObjectHandler& onObject, const ReferenceHandler& onReference,
                             bool topLevel) {
  while (true) {
    tokens_.SkipSeparators();
    const KvXToken token = tokens_.Next();
    switch (token.kind) {
      case KvXTokenKind::kEnd:
        return topLevel || Fail("unexpected end of file");
      case KvXTokenKind::kCloseBrace:
        return !topLevel || Fail("unbalanced '}'");
      case KvXTokenKind::kName: {
        const Handled handled = onObject(token.text);
        if (handled == Handled::kFailed) return Fail("malformed object");
        if (handled == Handled::kSkip && !(OpenObject() && SkipBody())) return false;
        break;
      }
      case KvXTokenKind::kOpenBrace: {
        std::string name;
        if (!ReadReference(name) || !onReference(name)) return false;
        break;
      }
      default:
        return Fail("unexpected data");
    }
  }
}

bool KvXParser::FinishObject() {
  return ReadChildren([](std::string_view) { return Handled::kSkip; },
                      [](std::string_view) { return true; });
}

bool KvXParser::OpenObject(std::string* name) {
  if (IsNameLike(tokens_.Peek().kind)) {
    const std::string_view text = tokens_.Next().text;
    if (name) name->assign(text);
  }
  if (tokens_.Next().kind != KvXTokenKind::kOpenBrace) return Fail("expected '{'");
  if (tokens_.Peek().kind == KvXTokenKind::kGuid) tokens_.Next();
  return true;
}

bool KvXParser::SkipBody() {
  std::uint64_t depth = 1;
  while (depth > 0) {
    switch (tokens_.Next().kind) {
      case KvXTokenKind::kOpenBrace:
        ++depth;
        break;
      case KvXTokenKind::kCloseBrace:
        --depth;
        break;
      case KvXTokenKind::kEnd:
      case KvXTokenKind::kError:
        return Fail("unbalanced braces");
      default:
        break;
    }
  }
  return true;
}

bool KvXParser::ReadReference(std::string& name) {
  while (true) {
    const KvXToken token = tokens_.Next();
    if (token.kind == KvXTokenKind::kCloseBrace) return true;
    if (IsNameLike(token.kind) && name.empty()) {
      name.assign(token.text);
    } else if (token.kind != KvXTokenKind::kGuid) {
      return Fail("malformed reference");
    }
  }
}

KvXParser::Handled KvXParser::ParseFrameChild(std::string_view type, int frame, int depth) {
  if (type == "Frame") return Result(ParseFrame(frame, depth + 1));
  if (type == "Mesh") return Result(ParseMesh(frame));
  if (type == "Material") {
    KvXMaterial material;
    return Result(ParseMaterial(material));
  }
  if (type == "FrameTransformMatrix" && frame >= 0) return Result(ParseFrameMatrix(frame));
  return Handled::kSkip;
}

bool KvXParser::ParseFrame(int parent, int depth) {
  if (depth > kMaxFrameDepth) return Fail("frames nested too deeply");
  if (!OpenObject()) return false;
  scene_->frames.push_back(KvXFrame{parent});
  const int frame = static_cast<int>(scene_->frames.size() - 1);
  return ReadChildren(
      [this, frame, depth](std::string_view type) { return ParseFrameChild(type, frame, depth); },
      [](std::string_view) { return true; });
}

bool KvXParser::ParseFrameMatrix(int frame) {
  float matrix[16];
  if (!OpenObject() || !ReadFloats(matrix, 16)) return false;
  std::copy(matrix, matrix + 16, scene_->frames[frame].matrix);
  return FinishObject();
}
