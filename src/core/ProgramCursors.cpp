// The program's cursors: the tools' cursors of the framework's resource set, and the brush cursors, whose
// black shape in the top-left corner is the very brush the paint brush stamps.
#include <string>
#include <vector>

#include "platform/user/Cursor.h"

namespace {

constexpr int kSize = 32;

// A standard-size picture, transparent but for what the painter puts in.
struct Picture {
  std::string pixels = std::string(kSize * kSize, '.');
  void Put(int x, int y, char c = '#') {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) pixels[static_cast<std::size_t>(y * kSize + x)] = c;
  }
  // A small drawing placed with its top-left corner at (x, y).
  void Draw(int x, int y, int width, const char* rows) {
    for (int i = 0; rows[i] != '\0'; ++i) {
      if (rows[i] != '.') Put(x + i % width, y + i / width, rows[i]);
    }
  }
};

Picture Square(int side) {
  Picture p;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) p.Put(x, y);
  return p;
}

Picture Bar(int width, int height) {
  Picture p;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) p.Put(x, y);
  return p;
}

Picture Disc(int side) {
  Picture p;
  const double r = side / 2.0;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const double dx = x + 0.5 - r, dy = y + 0.5 - r;
      if (dx * dx + dy * dy <= r * r) p.Put(x, y);
    }
  return p;
}

// A stroke two pixels wide across a width x height box, from the top-left corner down to the bottom-right
// (falling) or from the bottom-left up to the top-right (rising).
Picture Diagonal(int width, int height, bool falling) {
  Picture p;
  for (int row = 0; row < height; ++row) {
    const int step = height > 1 ? (row * (width - 2) * 2 + (height - 1)) / (2 * (height - 1)) : 0;
    const int x = falling ? step : (width - 2) - step;
    p.Put(x, row);
    p.Put(x + 1, row);
  }
  return p;
}

struct Made {
  UINT id;
  int hotX;
  int hotY;
  Picture picture;
};

std::vector<Made> MakeCursors() {
  std::vector<Made> made;
  // The brush sizes 1 to 20; 21 to 24 share the last cursor.
  const Picture brushes[] = {Square(16),          Disc(11),          Diagonal(16, 15, true), Diagonal(17, 16, false),
                             Square(12),          Disc(7),           Diagonal(11, 11, true), Diagonal(10, 10, false),
                             Bar(11, 2),          Bar(2, 11),        Square(8),              Disc(7),
                             Diagonal(7, 7, true), Diagonal(11, 11, false), Square(4),        Disc(4),
                             Diagonal(4, 4, true), Diagonal(4, 4, false), Square(2),          Square(1)};
  UINT id = 300;
  for (const Picture& brush : brushes) made.push_back({id++, 0, 0, brush});

  Picture pencil;  // the tools' own pointer, and the one any missing tool cursor falls back on
  pencil.Draw(0, 0, 11,
              "##........."
              "#o#........"
              ".#o#......."
              "..#o#......"
              "...#o#....."
              "....#o#...."
              ".....#o#..."
              "......#o#.."
              ".......#o#."
              "........###"
              ".........#.");
  made.push_back({201, 0, 0, pencil});

  Picture cross;  // the shapes: a cross with an open centre
  for (int i = 0; i < 15; ++i) {
    if (i >= 6 && i <= 8) continue;
    cross.Put(i, 7);
    cross.Put(7, i);
  }
  made.push_back({208, 7, 7, cross});

  Picture bucket;  // the fill bucket, pouring from its lip at the bottom left
  bucket.Draw(0, 0, 14,
              "......##......"
              ".....#oo#....."
              "....#oooo#...."
              "...#oooooo#..."
              "..#oooooooo#.."
              ".#oooooooooo#."
              "#oooooooooooo#"
              "#ooooooooooo#."
              "#.#ooooooooo#."
              "#..#ooooooo#.."
              "#...#ooooo#..."
              "#....#ooo#...."
              "#.....###....."
              "##............"
              "##............");
  made.push_back({210, 0, 14, bucket});

  Picture eraser;  // an open square
  for (int i = 0; i < 16; ++i) {
    eraser.Put(i, 0);
    eraser.Put(i, 15);
    eraser.Put(0, i);
    eraser.Put(15, i);
  }
  made.push_back({219, 0, 0, eraser});

  Picture hand;  // the page editor's buttons place things: a pointing hand
  hand.Draw(0, 0, 13,
            "....##......."
            "...#oo#......"
            "...#oo#......"
            "...#oo#......"
            "...#oo###...."
            "...#oo#oo##.."
            ".###oo#oo#o#."
            "#oo#oooooooo#"
            "#ooooooooooo#"
            ".#oooooooooo#"
            "..#ooooooooo#"
            "...#ooooooo#."
            "....#oooooo#."
            "....########.");
  made.push_back({230, 4, 0, hand});

  // The engine's link cursors: over a page that has links, two links of a chain; over a link, the hand
  // that follows it.
  Picture link;
  link.Draw(0, 0, 20,
            "....######.........."
            "...#oooooo#........."
            "..#oo####oo#........"
            "..#o#....#o#........"
            "..#o#....#o#........"
            "..#o#..######......."
            "..#o#.#oooooo#......"
            "..#oo#oo####oo#....."
            "...#oooooo#.#o#....."
            "....#######.#o#....."
            "......#o#...#o#....."
            "......#o#...#o#....."
            "......#oo####oo#...."
            ".......#oooooo#....."
            "........######......");
  made.push_back({404, 9, 7, link});
  Picture linkHot = hand;
  linkHot.Draw(14, 0, 5,
               "..#.."
               "#.#.#"
               ".###."
               "#.#.#"
               "..#..");
  made.push_back({405, 4, 0, linkHot});
  return made;
}

const std::vector<Made>& Cursors() {
  static const std::vector<Made> cursors = MakeCursors();
  return cursors;
}

std::vector<platform::CursorResource> CursorResources() {
  std::vector<platform::CursorResource> resources;
  for (const Made& m : Cursors()) resources.push_back({m.id, kSize, kSize, m.hotX, m.hotY, m.picture.pixels.c_str()});
  return resources;
}

// Registered before the program's entry point, as resources are there before any code runs.
[[maybe_unused]] const bool gRegistered = (platform::RegisterCursorResources(CursorResources()), true);

}  // namespace
