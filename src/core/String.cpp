#include "core/String.h"

#include "core/Utilities.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Seams.h"
#include "core/Stream.h"

namespace {
constexpr SourceName kSource("xstring");
}  // namespace

SMART_COPY_CHECK_AT(String, kSource.Line(20));
SMART_DEFINE(String, "String", &String::Create, nullptr, Model, SystemScrap)

const PersistentType String::persistentType(&String::classInfo, MakeVersion(1), MakeVersion(1), &String::ReadNew);

std::string TextOf(const String& text) {
  TextLock lock(text);
  return std::string(lock.Chars() ? lock.Chars() : "", static_cast<std::size_t>(lock.Length()));
}

namespace {

std::int32_t Length32(std::size_t length) {
  if (length > INT32_MAX) ThrowError("Range error", __FILE__, __LINE__);
  return static_cast<std::int32_t>(length);
}

}  // namespace

String::String() = default;

String::String(const char* text) { characters.Insert(text, 0, Length32(std::strlen(text))); }

String::String(const String& other)
    : Smart(), Model(other), SystemScrap(other), SmartImplementation(other), characters(other.characters) {}

String::String(const String& source, std::int32_t from, std::int32_t count) {
  if (!(from > 0)) AssertFailed("from > 0", kSource.Line(77));
  if (!(std::int64_t{from} + count - 1 <= source.Length())) AssertFailed("from+num-1 <= oldLength", kSource.Line(78));
  if (count > 0) characters.Insert(source.characters.ItemAddress(from), 0, count);
}

String::String(int number) { SetNumber(number); }

String::String(long number) {
  char text[24];
  std::snprintf(text, sizeof text, "%ld", number);
  characters.Insert(text, 0, Length32(std::strlen(text)));
}

String::String(ArchiveBlock& block) {
  ArchiveBlock arrayBlock(block, &GenericArray::persistentType);
  GenericArray stored(1, arrayBlock);
  arrayBlock.Close();
  characters.Assign(stored);
}

String& String::operator=(const String& other) {
  if (&other == this) return *this;
  const std::int32_t oldLength = Length();
  characters.Assign(other.characters);
  NotifyObservers(1, Length(), Length() - oldLength);
  return *this;
}

Persistent* String::ReadNew(Archive* archive) {
  return ReadFromBlock<String>(archive, &persistentType);
}

void String::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  ArchiveBlock arrayBlock(block, &GenericArray::persistentType);
  characters.WriteBody(arrayBlock);
}

void String::CopyTo(char* buffer, std::int32_t size) const {
  if (size < 1) AssertFailed("size >= 1", __FILE__, __LINE__);
  const std::int32_t n = std::min(Length(), size - 1);
  TextLock lock(*this);
  if (n > 0) std::memcpy(buffer, lock.Chars(), static_cast<std::size_t>(n));
  buffer[n] = 0;
}

// Reads the first 15 characters. A text with no digits, or a number too large for 32 bits, is a failure
// (with 0), not a zero that looks like an answer.
bool String::ToNumber(int* number) const {
  char text[16];
  CopyTo(text, sizeof text);
  return TextToInt(text, number);
}

std::int32_t String::CountLines() const {
  TextLock lock(*this);
  std::int32_t lines = 1;
  for (std::int32_t i = 0; i < lock.Length(); ++i)
    if (lock.Chars()[i] == '\r') ++lines;
  return lines;
}

void String::Set(const char* text) {
  const std::int32_t length = Length32(std::strlen(text));
  // The text may lie inside this String.
  const std::string copy(text, static_cast<std::size_t>(length));
  characters.RemoveAll();
  characters.Insert(copy.data(), 0, length);
  if (length > 0) NotifyObservers(1, 0, length);
}

void String::Clear() {
  const std::int32_t oldLength = Length();
  characters.RemoveAll();
  NotifyObservers(1, oldLength, -oldLength);
}

void String::Insert(const char* text, std::int32_t p, std::int32_t n) {
  if (n == 0) return;
  characters.Insert(text, p, n);
  NotifyObservers(p + 1, 0, n);
}

void String::Insert(const String& other, std::int32_t p) {
  const std::string copy = TextOf(other);
  Insert(copy.data(), p, Length32(copy.size()));
}

void String::Append(const char* text) { Insert(text, Length(), Length32(std::strlen(text))); }

void String::Append(const String& other) { Insert(other, Length()); }

String String::operator+(const String& other) const {
  String sum(*this);
  sum.characters.Insert(TextOf(other).data(), sum.Length(), other.Length());
  return sum;
}

void String::SetNumber(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", number);
  characters.RemoveAll();
  characters.Insert(text, 0, Length32(std::strlen(text)));
}

std::int32_t String::Find(const String& pattern, std::int32_t start, int direction) const {
  if (direction != kForward && direction != kBackward)
    ThrowError("Unknown direction in String::Find", kSource.Line(423));
  TextLock text(*this);
  TextLock wanted(pattern);
  const std::int32_t n = text.Length();
  const std::int32_t m = wanted.Length();
  if (m == 0 || m > n) return 0;
  const char* chars = text.Chars();
  const char* pat = wanted.Chars();
  auto matchesAt = [&](std::int32_t c) {
    return chars[c - 1] == pat[0] && std::memcmp(chars + c - 1, pat, static_cast<std::size_t>(m)) == 0;
  };
  // Starts outside the text are brought inside it rather than read past its ends.
  if (direction == kForward) {
    for (std::int32_t c = std::max(start, 1); c <= n - m + 1; ++c)
      if (matchesAt(c)) return c;
  } else {
    for (std::int32_t c = std::min(start, n) - m + 1; c >= 1; --c)
      if (matchesAt(c)) return c;
  }
  return 0;
}

void String::ReplaceAll(const String& pattern, const String& replacement) {
  const std::string p = TextOf(pattern);
  const std::string r = TextOf(replacement);
  const String patternCopy(pattern);
  const std::int32_t a = Length32(p.size());
  const std::int32_t b = Length32(r.size());
  std::int32_t c = Find(patternCopy, 1, kForward);
  std::int32_t first = 0, extent = 0, delta = 0;
  while (c > 0) {
    if (first == 0) first = c;
    characters.Delete(c, a);
    characters.Insert(r.data(), c - 1, b);
    const std::int32_t next = Find(patternCopy, c + b, kForward);
    extent = c + a - first - delta;
    delta += b - a;
    c = next;
  }
  if (extent != 0 || delta != 0) NotifyObservers(first, extent, delta);
}

SmartRef<String> String::NextToken(const String& delimiters) {
  const std::string d = TextOf(delimiters);
  const std::string text = TextOf(*this);
  auto isDelimiter = [&](char c) { return d.find(c) != std::string::npos; };
  std::size_t begin = 0;
  while (begin < text.size() && isDelimiter(text[begin])) ++begin;
  std::size_t end = begin;
  while (end < text.size() && !isDelimiter(text[end])) ++end;
  std::size_t after = end;
  while (after < text.size() && isDelimiter(text[after])) ++after;
  SmartRef<String> token = new String(*this, static_cast<std::int32_t>(begin) + 1, static_cast<std::int32_t>(end - begin));
  if (after > 0) {
    const std::int32_t oldLength = Length();
    characters.Delete(1, static_cast<std::int32_t>(after));
    NotifyObservers(1, oldLength, -static_cast<std::int32_t>(after));
  }
  return token;
}

bool String::NextLine(std::int32_t* p, std::int32_t* e) const {
  TextLock lock(*this);
  const std::int32_t n = lock.Length();
  const char* chars = lock.Chars();
  if (*p > n || *p < 1) return false;
  if (chars[*p - 1] == '\r') {
    if (++*p > n) return false;
  }
  if (chars[*p - 1] == '\n') {
    if (++*p > n) return false;
  }
  std::int32_t end = n;
  for (std::int32_t i = *p; i <= n; ++i)
    if (chars[i - 1] == '\r') {
      end = i - 1;
      break;
    }
  *e = end;
  return end >= *p;
}

List String::SplitLines() const {
  List lines(&String::classInfo);
  std::int32_t p = 1, e = 0;
  while (NextLine(&p, &e)) {
    lines.Append(new String(*this, p, e - p + 1));
    p = e + 1;
  }
  return lines;
}

List String::Split(char separator) const {
  List pieces(&String::classInfo);
  const std::string text = TextOf(*this);
  if (text.size() <= 1) {
    pieces.Append(new String(*this));
    return pieces;
  }
  std::size_t begin = 0;
  while (begin <= text.size()) {
    std::size_t end = text.find(separator, begin);
    if (end == std::string::npos) end = text.size();
    if (end > begin)
      pieces.Append(new String(*this, static_cast<std::int32_t>(begin) + 1, static_cast<std::int32_t>(end - begin)));
    begin = end + 1;
  }
  return pieces;
}

int String::Alert(int iconKind, int buttonKind) const {
  char text[256];
  CopyTo(text, sizeof text);
  return ::Alert(iconKind, buttonKind, text);
}

int String::NotImplemented() {
  ReportError("Not implemented.", kSource.Line(650));
  return 0;
}

SmartRef<GenericArray> String::GetScrapTypes() {
  SmartRef<GenericArray> types = new GenericArray(4, 0);
  const std::uint32_t type = kTextScrapType;
  types->Insert(&type, 0, 1);
  return types;
}

Memory* String::GetScrapData(std::uint32_t type) {
  const std::uint32_t osType = kTextScrapType;
  if (type != osType) AssertFailed("type == osType", kSource.Line(720));
  static Memory scrap;
  const std::int32_t length = Length();
  scrap.SetSize(static_cast<std::uint32_t>(length) + 1);
  CopyTo(reinterpret_cast<char*>(scrap.GetData()), length + 1);
  return &scrap;
}

void String::ToggleObserver(ModelObserver* observer) { observers.Toggle(observer); }

void String::NotifyObservers(std::int32_t position, std::int32_t replaced, std::int32_t delta) {
  observers.Notify(position, replaced, delta);
}

Stream& operator<<(Stream& stream, const String& text) {
  const std::string bytes = TextOf(text);
  stream.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  return stream;
}

void String::Measure(Point& size, std::int32_t width) {
  const StringMeasurer measure = GetStringMeasurer();
  size = measure != nullptr ? measure(*this, width) : Point(0, 0);
}

void String::Draw(DisplayPort& port, const Rect& rect, const Color& color) {
  const StringDrawer draw = GetStringDrawer();
  if (Length() > 0 && draw != nullptr) draw(*this, port, rect, color);
}

void String::MakeEditor(Rect* bounds, View* container, const Rect&) {
  const StringEditorMaker make = GetStringEditorMaker();
  const bool buildable = !IsUnreferenced() && make != nullptr && container != nullptr;
  *bounds = buildable ? make(*this, container) : Rect::emptyRect;
}
