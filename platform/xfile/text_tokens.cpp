// The text encoding: words (names and numbers), quoted strings, <GUID>s, punctuation, and
// '#' or '//' comments to the end of the line.
#include <array>
#include <charconv>
#include <limits>

#include "platform/xfile/real_number.h"
#include "platform/xfile/tokens.h"

namespace {

// Names and numbers run until white space or punctuation.
constexpr std::array<bool, 256> kWordBytes = [] {
  std::array<bool, 256> table{};
  for (int c = '!'; c < 256; ++c) {
    table[c] =
        std::string_view("{};,\"<>[]()").find(static_cast<char>(c)) == std::string_view::npos;
  }
  return table;
}();

bool IsWordByte(std::uint8_t c) {
  return kWordBytes[c];
}

// A word is a DWORD when it is all digits and fits, a float when it parses completely as one,
// and a name otherwise. Where a name is expected the parser takes numbers' spellings too.
KvXToken ClassifyWord(std::string_view word) {
  KvXToken token;
  token.text = word;
  std::uint64_t integer = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), integer);
  if (ec == std::errc() && end == word.data() + word.size() &&
      integer <= std::numeric_limits<std::uint32_t>::max()) {
    token.kind = KvXTokenKind::kInteger;
    token.integer = static_cast<std::uint32_t>(integer);
    token.real = static_cast<double>(integer);
    return token;
  }
  std::string_view number = word;
  if (number.size() > 1 && number[0] == '+') number.remove_prefix(1);
  double real = 0;
  const bool isFloat = KvParseReal(number, real);
  token.kind = isFloat ? KvXTokenKind::kFloat : KvXTokenKind::kName;
  token.real = isFloat ? real : 0;
  return token;
}

}  // namespace

void KvXTokenizer::SkipSpaceAndComments() {
  while (pos_ < size_) {
    const std::uint8_t c = data_[pos_];
    const bool comment = c == '#' || (c == '/' && pos_ + 1 < size_ && data_[pos_ + 1] == '/');
    if (comment) {
      while (pos_ < size_ && data_[pos_] != '\n') ++pos_;
    } else if (c <= ' ') {
      ++pos_;
    } else {
      return;
    }
  }
}

KvXToken KvXTokenizer::LexText() {
  SkipSpaceAndComments();
  KvXToken token;
  if (pos_ == size_) return token;
  switch (data_[pos_]) {
    case '{':
      token.kind = KvXTokenKind::kOpenBrace;
      break;
    case '}':
      token.kind = KvXTokenKind::kCloseBrace;
      break;
    case ',':
    case ';':
      token.kind = KvXTokenKind::kSeparator;
      break;
    case '"':
      return LexQuoted();
    case '<':
      return LexGuid();
    case '>':
      return Fail("stray '>'");
    default:
      if (IsWordByte(data_[pos_])) return LexWord();
      token.kind = KvXTokenKind::kOther;  // brackets and parentheses of templates
  }
  ++pos_;
  return token;
}

KvXToken KvXTokenizer::LexWord() {
  const std::size_t start = pos_;
  while (pos_ < size_ && IsWordByte(data_[pos_])) ++pos_;
  return ClassifyWord({reinterpret_cast<const char*>(data_ + start), pos_ - start});
}

KvXToken KvXTokenizer::LexQuoted() {
  const std::size_t start = ++pos_;
  bool escaped = false;
  while (pos_ < size_ && data_[pos_] != '"') {
    if (data_[pos_] == '\\' && pos_ + 1 < size_) {
      escaped = true;
      ++pos_;
    }
    ++pos_;
  }
  if (pos_ >= size_) return Fail("unterminated string");
  KvXToken token;
  token.kind = KvXTokenKind::kString;
  token.text = {reinterpret_cast<const char*>(data_ + start), pos_ - start};
  token.escaped = escaped;
  ++pos_;
  return token;
}

KvXToken KvXTokenizer::LexGuid() {
  const std::size_t start = ++pos_;
  while (pos_ < size_ && pos_ - start <= 40 && data_[pos_] != '>') ++pos_;
  if (pos_ >= size_ || data_[pos_] != '>') return Fail("unterminated GUID");
  KvXToken token;
  token.kind = KvXTokenKind::kGuid;
  token.text = {reinterpret_cast<const char*>(data_ + start), pos_ - start};
  ++pos_;
  return token;
}
