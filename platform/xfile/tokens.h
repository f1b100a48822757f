// The token stream of a .x body. The text and the binary encodings produce the same kinds of
// tokens, so the parser above them never knows which one it reads. Binary integer and float
// lists come out one number at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class KvXTokenKind {
  kEnd,
  kError,
  kName,
  kInteger,  // fits a DWORD
  kFloat,    // any other number
  kString,
  kGuid,
  kOpenBrace,
  kCloseBrace,
  kSeparator,  // ',' or ';'
  kOther,      // template syntax: brackets, primitive type keywords
};

struct KvXToken {
  KvXTokenKind kind = KvXTokenKind::kEnd;
  std::string_view text;  // names, string contents, the spelling of a text number
  std::uint32_t integer = 0;
  double real = 0;
  bool escaped = false;  // a text string whose backslash escapes are still in place
};

class KvXTokenizer {
 public:
  // data must outlive the tokenizer; tokens point into it.
  KvXTokenizer(const std::uint8_t* data, std::size_t size, bool binary, bool doubles);

  const KvXToken& Peek();
  KvXToken Next();
  void SkipSeparators();

  // Each skips separators first and fails on any other kind of token.
  bool ReadUInt(std::uint32_t& value);
  bool ReadFloat(float& value);
  bool ReadString(std::string& value);

  // An upper bound on how many numbers the rest of the input can hold. Counts read from the
  // file are checked against it before anything is sized by them.
  std::uint64_t MaxNumbersLeft() const;

  // Why the last kError token was produced.
  const std::string& Error() const { return error_; }

 private:
  KvXToken Lex();
  KvXToken LexText();
  KvXToken LexBinary();
  KvXToken LexWord();
  KvXToken LexQuoted();
  KvXToken LexGuid();
  KvXToken BinaryListElement();
  KvXToken BinaryRecord(std::uint16_t code);
  void SkipSpaceAndComments();
  bool Has(std::size_t bytes) const { return size_ - pos_ >= bytes; }
  std::uint16_t U16();
  std::uint32_t U32();
  KvXToken Fail(const char* message);

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool binary_;
  bool doubles_;
  std::uint32_t listLeft_ = 0;
  bool listFloats_ = false;
  bool peeked_ = false;
  KvXToken peek_;
  std::string error_;
};
