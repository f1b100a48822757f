// Token stream operations shared by both encodings: look-ahead and typed reads.
#include "platform/xfile/tokens.h"

KvXTokenizer::KvXTokenizer(const std::uint8_t* data, std::size_t size, bool binary, bool doubles)
    : data_(data), size_(size), binary_(binary), doubles_(doubles) {}

KvXToken KvXTokenizer::Lex() {
  if (!error_.empty()) {
    KvXToken token;
    token.kind = KvXTokenKind::kError;
    return token;
  }
  return binary_ ? LexBinary() : LexText();
}

const KvXToken& KvXTokenizer::Peek() {
  if (!peeked_) {
    peek_ = Lex();
    peeked_ = true;
  }
  return peek_;
}

KvXToken KvXTokenizer::Next() {
  if (peeked_) {
    peeked_ = false;
    return peek_;
  }
  return Lex();
}

void KvXTokenizer::SkipSeparators() {
  while (Peek().kind == KvXTokenKind::kSeparator) Next();
}

bool KvXTokenizer::ReadUInt(std::uint32_t& value) {
  SkipSeparators();
  if (Peek().kind != KvXTokenKind::kInteger) return false;
  value = Next().integer;
  return true;
}

bool KvXTokenizer::ReadFloat(float& value) {
  SkipSeparators();
  const KvXTokenKind kind = Peek().kind;
  if (kind != KvXTokenKind::kInteger && kind != KvXTokenKind::kFloat) return false;
  value = static_cast<float>(Next().real);
  return true;
}

bool KvXTokenizer::ReadString(std::string& value) {
  SkipSeparators();
  if (Peek().kind != KvXTokenKind::kString) return false;
  const KvXToken token = Next();
  value.clear();
  for (std::size_t i = 0; i < token.text.size(); ++i) {
    const char c = token.text[i];
    const bool escape = token.escaped && c == '\\' && i + 1 < token.text.size() &&
                        (token.text[i + 1] == '\\' || token.text[i + 1] == '"');
    value += escape ? token.text[++i] : c;
  }
  return true;
}

std::uint64_t KvXTokenizer::MaxNumbersLeft() const {
  const std::uint64_t left = size_ - pos_;
  // A binary number takes at least 4 bytes; a text number at least a character and a
  // separator. The look-ahead token may hold one more.
  return (binary_ ? left / 4 : left / 2) + 2;
}

KvXToken KvXTokenizer::Fail(const char* message) {
  error_ = message;
  return Lex();  // the error token, and every one after it
}
