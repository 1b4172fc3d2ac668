// What the engine's suites share: a fixture with the program's folder in a fresh temporary folder, a movie
// kind of the tests' own, a dependant that records what it is told, a stand-in for the web library's
// addresses, and documents saved with a class numbering of the tests' own.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/Format.h"
#include "core/ObjectFile.h"
#include "engine/movie/CMovie.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"

class BitMap;
class OffScreen;
struct Color;

namespace engine_test {

class EngineTest : public GraphicsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  TempFolder folder;  // the program's folder
};

// The simplest movie kind: the base's frames and nothing of its own.
class TestMovie : public CMovie {
  SMART_ABSTRACT(TestMovie)
 public:
  static const PersistentType persistentType;

  explicit TestMovie(const Rect& rect = {0, 0, 100, 80}) : CMovie(rect) {}
  TestMovie(const TestMovie& other) : Smart(), CMovie(other) {}
  TestMovie(TestMovie& source, std::int16_t start, std::int16_t count, bool cut)
      : Smart(), CMovie(source, start, count, cut) {}
  explicit TestMovie(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return new TestMovie(*this); }
  SmartRef<CMovie> ExtractFrames(std::int16_t start, std::int16_t count, bool cut) override;

  using CMovie::GetFrameCaches;
};

struct DependantEvent {
  enum Kind { kFrame, kBounds } kind;
  CMovie* movie;
  Rect rect;
  std::int16_t frame;  // -1 for a bounds change
  friend bool operator==(const DependantEvent&, const DependantEvent&) = default;
};

class RecordingDependant : public MovieDependant {
 public:
  void FrameChanged(CMovie* movie, const Rect& rect, std::int16_t frame) override {
    events.push_back({DependantEvent::kFrame, movie, rect, frame});
  }
  void BoundsChanged(CMovie* movie, const Rect& oldBounds) override {
    events.push_back({DependantEvent::kBounds, movie, oldBounds, -1});
  }
  std::vector<DependantEvent> events;
};

// Stands in for the web library's address element: its text, stored as a nested string.
class WebAddress : public Persistent, public SmartImplementation {
  SMART_CLASS(WebAddress)
 public:
  static const PersistentType persistentType;

  explicit WebAddress(const char* text = "") : href(text) {}
  explicit WebAddress(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  String href;
};

// 1 String, 2 GenericArray, 3 ListData, 4 CMovie, 5 TestMovie, 6 Sound, 7 CLink, 8 CJump, 9 CJumpFrame,
// 10 CJumpMovie, 11 CFrameIndex, 12 FileReference, 13 LinkHREF (the stand-in), 14 ColorTable. A test
// may put another record of CJumpFrame in its place, as a program that knows another version would.
SmartRef<TypeIndex> MakeEngineTypeIndex(const PersistentType* jumpFrameType = nullptr);

// Class indexes of the tests' numbering (MakeEngineTypeIndex).
enum : std::uint32_t {
  kString = 1, kArray, kList, kMovie, kTestMovie, kSound, kLink, kJump, kJumpFrame, kJumpMovie, kFrameIndex,
  kFileReference, kWebAddress, kColorTable,
};

// The current versions of the tests' numbering, by class index.
extern const std::vector<std::uint32_t> kCurrentVersions;

// An object file of the tests' numbering written by hand: the header, the class index with the versions
// and sizes given, the objects as the body builds them (root first), and the object table. Values are
// little-endian, as the program writes them.
class FileBytes {
 public:
  // A class index of that many classes (the tests' numbering has fourteen; suites may add their own).
  explicit FileBytes(std::uint32_t classCount = 14) : objectsAt(25 + 8 + 16 + 6 + 8 * classCount) {}
  FileBytes& L(std::uint32_t v);
  FileBytes& S(std::uint16_t v);
  FileBytes& B(const std::string& bytes) {
    body += bytes;
    return *this;
  }
  // A string's body: its length, then its characters.
  FileBytes& Text(const std::string& text) { return L(static_cast<std::uint32_t>(text.size())).B(text); }
  // An object written where it is first referred to: its index, then its body.
  FileBytes& Object(std::uint32_t n, std::uint32_t classIndex, const std::function<void()>& write) {
    L(n);
    return Root(n, classIndex, write);
  }
  FileBytes& Root(std::uint32_t n, std::uint32_t classIndex, const std::function<void()>& write);
  // Where object n starts in the file.
  std::uint32_t PositionOf(std::uint32_t n) { return entries[n].position; }
  std::string File(const std::vector<std::uint32_t>& versions, const std::vector<std::int32_t>& sizes) const;

 private:
  struct Entry {
    std::uint32_t classIndex = 0, position = 0, length = 0;
  };
  std::uint32_t Position() const { return objectsAt + static_cast<std::uint32_t>(body.size()); }

  std::uint32_t objectsAt;  // past the header and the class index

  std::string body;
  std::map<std::uint32_t, Entry> entries;
};

// Fills the rectangle of the bitmap with a colour its table holds.
void Fill(BitMap& bitmap, const Rect& rect, const Color& color);
// An off-screen surface of the standard table of the depth, erased to the colour.
SmartRef<OffScreen> Surface(int width, int height, int depth, const Color& background);
// A 16 x 16 letter F on pale grey (standard colour 2) with a black dot: turned or mirrored, it shows.
SmartRef<OffScreen> LetterF(int depth);

// A BMP file of one colour (0xRRGGBB) at 24 bits, as the program's numbered pictures are stored.
std::string OneColourBmp(int width, int height, std::uint32_t rgb);

// A sound of the given bytes, held in memory.
SmartRef<Sound> MakeSound(const std::string& bytes);
// The program's text of a string-table id.
std::string NumberedText(int id);

}  // namespace engine_test
