// Where a failure says it happened: the source name and line that checks, assertions and notices carry,
// and that alerts show (an assertion's alert is its line number). Most places are the C++ file and line
// where the check stands. The framework's numbered failures carry a source name of their own, given once
// per file, and a fixed line, so that the number an alert shows does not move whenever the code around a
// check does.
#pragma once

struct SourcePlace {
  const char* file;
  int line;
};

// The C++ file and line where it stands.
#define THIS_PLACE (SourcePlace{__FILE__, __LINE__})

// A framework source by the name its places carry; each place adds its line: kSource.Line(454).
class SourceName {
 public:
  explicit constexpr SourceName(const char* name) : name(name) {}
  constexpr SourcePlace Line(int line) const { return {name, line}; }
  // A place its source gives no line for: alerts then show none.
  constexpr SourcePlace Unnumbered() const { return {name, 0}; }

 private:
  const char* name;
};

// Where a class's CopyFrom reports a source of another class ("castPtr"): where SMART_DEFINE stands,
// unless the class names its numbered place with SMART_COPY_CHECK_AT before its SMART_DEFINE.
template <class Class>
inline constexpr SourcePlace kCopyCheckPlace{nullptr, 0};

#define SMART_COPY_CHECK_AT(Class, place) \
  template <>                             \
  inline constexpr SourcePlace kCopyCheckPlace<Class> = place

constexpr SourcePlace PlaceOr(SourcePlace named, const char* file, int line) {
  return named.file != nullptr ? named : SourcePlace{file, line};
}
