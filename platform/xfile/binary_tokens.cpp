// The binary encoding: little-endian WORD token codes, some followed by a record (a name, a
// string, an integer, a GUID, or a counted list of DWORDs or of floats).
#include <cstring>

#include "platform/xfile/tokens.h"

namespace {

enum : std::uint16_t {
  kTokenName = 1,
  kTokenString = 2,
  kTokenInteger = 3,
  kTokenGuid = 5,
  kTokenIntegerList = 6,
  kTokenFloatList = 7,
  kTokenOpenBrace = 10,
  kTokenCloseBrace = 11,
  kTokenComma = 19,
  kTokenSemicolon = 20,
  kTokenTemplate = 31,
};

bool IsTemplateSyntax(std::uint16_t code) {
  return (code >= 12 && code <= 18) || (code >= 40 && code <= 52);
}

}  // namespace

std::uint16_t KvXTokenizer::U16() {
  const std::uint16_t value = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
  pos_ += 2;
  return value;
}

std::uint32_t KvXTokenizer::U32() {
  const std::uint32_t low = U16();
  return low | static_cast<std::uint32_t>(U16()) << 16;
}

KvXToken KvXTokenizer::LexBinary() {
  KvXToken token;
  while (true) {
    if (listLeft_ > 0) return BinaryListElement();
    if (pos_ == size_) return token;
    if (!Has(2)) return Fail("truncated token");
    const std::uint16_t code = U16();
    if (code != kTokenIntegerList && code != kTokenFloatList) return BinaryRecord(code);
    if (!Has(4)) return Fail("truncated list");
    const std::uint64_t count = U32();
    listFloats_ = code == kTokenFloatList;
    const std::uint64_t bytes = count * (listFloats_ ? (doubles_ ? 8 : 4) : 4);
    if (!Has(bytes)) return Fail("list longer than the file");
    listLeft_ = static_cast<std::uint32_t>(count);  // an empty list just moves on
  }
}

KvXToken KvXTokenizer::BinaryListElement() {
  KvXToken token;
  --listLeft_;
  if (!listFloats_) {
    token.kind = KvXTokenKind::kInteger;
    token.integer = U32();
    token.real = token.integer;
  } else if (doubles_) {
    token.kind = KvXTokenKind::kFloat;
    std::memcpy(&token.real, data_ + pos_, 8);
    pos_ += 8;
  } else {
    token.kind = KvXTokenKind::kFloat;
    float value;
    std::memcpy(&value, data_ + pos_, 4);
    pos_ += 4;
    token.real = value;
  }
  return token;
}

KvXToken KvXTokenizer::BinaryRecord(std::uint16_t code) {
  KvXToken token;
  switch (code) {
    case kTokenName:
    case kTokenString: {
      if (!Has(4)) return Fail("truncated name");
      const std::uint32_t length = U32();
      if (!Has(length)) return Fail("name longer than the file");
      token.kind = code == kTokenName ? KvXTokenKind::kName : KvXTokenKind::kString;
      token.text = {reinterpret_cast<const char*>(data_ + pos_), length};
      pos_ += length;
      // A string's terminator may be written as a DWORD: a separator code, then a zero WORD
      // that is no token at all.
      const bool dwordTerminator = code == kTokenString && Has(4) && data_[pos_ + 1] == 0 &&
                                   (data_[pos_] == kTokenComma || data_[pos_] == kTokenSemicolon) &&
                                   data_[pos_ + 2] == 0 && data_[pos_ + 3] == 0;
      if (dwordTerminator) pos_ += 4;
      return token;
    }
    case kTokenInteger:
      if (!Has(4)) return Fail("truncated integer");
      token.kind = KvXTokenKind::kInteger;
      token.integer = U32();
      token.real = token.integer;
      return token;
    case kTokenGuid:
      if (!Has(16)) return Fail("truncated GUID");
      token.kind = KvXTokenKind::kGuid;
      pos_ += 16;
      return token;
    case kTokenOpenBrace:
      token.kind = KvXTokenKind::kOpenBrace;
      return token;
    case kTokenCloseBrace:
      token.kind = KvXTokenKind::kCloseBrace;
      return token;
    case kTokenComma:
    case kTokenSemicolon:
      token.kind = KvXTokenKind::kSeparator;
      return token;
    case kTokenTemplate:
      token.kind = KvXTokenKind::kName;
      token.text = "template";
      return token;
    default:
      if (!IsTemplateSyntax(code)) return Fail("unknown binary token");
      token.kind = KvXTokenKind::kOther;
      return token;
  }
}
