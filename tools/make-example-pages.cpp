// Writes the example pages the program ships: the pages of "Exemples", and the linked pictures of the
// hot-link folders ("Sitessym", "Clubskid", "Liens") that a child drops on a page. They are page
// documents made with the program's own classes, so the program reads them as it reads the child's own.
// Every picture is drawn here and every link goes to a reserved example domain; the same bytes come out
// on every run (scripts/make-example-pages runs this and checks the pages in under data/).
//
// Usage: make_example_pages <program folder> <output folder>
// The program folder gives the palette (Data\standard.pal); the pages go into the output folder's
// "Exemples", "Sitessym", "Clubskid" and "Liens", which are made when missing.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/Stream.h"
#include "core/String.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/sprites/CSprite.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/kernel/Files.h"
#include "web/html/LinkHREF.h"
#include "web/Seams.h"

namespace {

namespace fs = std::filesystem;

struct Rgb {
  std::uint8_t r, g, b;
};

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kSky{153, 204, 255}, kGrass{51, 153, 51},
    kSun{255, 204, 0}, kRed{204, 0, 0}, kPink{255, 153, 204}, kSea{0, 102, 204}, kSand{255, 204, 153},
    kBrown{153, 102, 51}, kOrange{255, 153, 0}, kPurple{153, 51, 204}, kBlue{51, 102, 255},
    kGreen{102, 204, 102}, kGrey{204, 204, 204}, kYellow{255, 255, 102};

// A picture drawn in the program's palette, pixel by pixel.
class Canvas {
 public:
  Canvas(int width, int height, Rgb fill) : width(width), height(height), pixels(width * height, Index(fill)) {}

  void Rectangle(int left, int top, int right, int bottom, Rgb colour) {
    Fill(colour, [&](int x, int y) { return x >= left && x < right && y >= top && y < bottom; });
  }
  void Ellipse(int left, int top, int right, int bottom, Rgb colour) {
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    Fill(colour, [&](int x, int y) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      return dx * dx + dy * dy <= 1.0;
    });
  }
  // A triangle pointing up, its apex at the middle of the top edge.
  void Peak(int left, int top, int right, int bottom, Rgb colour) {
    const double middle = (left + right) / 2.0, half = (right - left) / 2.0;
    Fill(colour, [&](int x, int y) {
      if (y < top || y >= bottom) return false;
      const double reach = half * (y + 0.5 - top) / (bottom - top);
      return x + 0.5 >= middle - reach && x + 0.5 <= middle + reach;
    });
  }
  // A rectangle with its corners rounded by the radius, framed by a one-pixel border.
  void Badge(int left, int top, int right, int bottom, int radius, Rgb colour, Rgb border) {
    auto inside = [&](int x, int y, int inset) {
      const int l = left + inset, t = top + inset, r = right - inset, b = bottom - inset, rad = radius - inset;
      if (x < l || x >= r || y < t || y >= b) return false;
      const int cx = x < l + rad ? l + rad : x >= r - rad ? r - rad - 1 : x;
      const int cy = y < t + rad ? t + rad : y >= b - rad ? b - rad - 1 : y;
      return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= rad * rad;
    };
    Fill(border, [&](int x, int y) { return inside(x, y, 0); });
    Fill(colour, [&](int x, int y) { return inside(x, y, 1); });
  }

  SmartRef<CMovie> Movie() const {
    const SmartRef<BitMap> bitmap = new BitMap(width, height, ColorTable::GetStandard(8));
    std::size_t i = 0;
    for (PixelCursor cursor(~bitmap, bitmap->GetBounds(), true); cursor.HasRow(); cursor.NextPixel())
      cursor.SetPixel(pixels[i++]);
    return new CMoviePic(new CResource(SmartRef<Smart>(~bitmap)));
  }

 private:
  static std::uint32_t Index(Rgb colour) {
    return static_cast<std::uint32_t>(
        ColorTable::GetStandard(8)->NearestIndex(Color::FromRGB8(colour.r, colour.g, colour.b)));
  }
  template <class Inside>
  void Fill(Rgb colour, Inside inside) {
    const std::uint32_t index = Index(colour);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (inside(x, y)) pixels[static_cast<std::size_t>(y * width + x)] = index;
  }

  int width, height;
  std::vector<std::uint32_t> pixels;
};

// The words are plain ASCII, the same in the program's code page.
SmartRef<CMovie> TextMovie(const char* ascii) {
  const SmartRef<String> words = new String(ascii);
  Point size;
  words->Measure(size, 0);
  const SmartRef<CResource> text = new CResource(SmartRef<Smart>(~words));
  text->SetBounds(0, 0, size.x, size.y);
  return new CMovieText(~text, {0, 0, size.x, size.y});
}

// A page being built: its sprites are added bottom to top.
class PageBuilder {
 public:
  PageBuilder(int width, int height, std::int16_t frames, std::int16_t rate) : frames(frames) {
    const SmartRef<CMovieGroup> group = new CMovieGroup({0, 0, width, height});
    if (frames > 1) group->InsertFrames(1, static_cast<std::int16_t>(frames - 1), true, false);
    page = new CShow(~group, false);
    page->SetFrameRate(rate);
  }

  // A sprite over every frame, its top-left corner at where(frame); a link, when given, on every frame.
  template <class Where>
  CSprite* Add(const SmartRef<CMovie>& movie, Where where, const char* url = nullptr) {
    CMovieGroup& group = *CastSmart<CMovieGroup>(page->GetMovieGroup());
    const SmartRef<CSprite> made = new CSprite(0, movie, movie->GetBounds());
    made->SetFrameCount(frames);
    // Sprites of one movie would merge: each is named apart.
    made->SetName(new String(std::to_string(group.GetSpriteCount()).c_str()));
    CSprite* sprite = group.GetSprite(group.MergeSprite(~made));
    for (std::int16_t f = 0; f < frames; ++f) {
      Rect bounds;
      movie->GetFrameBounds(&bounds, sprite->GetImageIndex(f));
      const Rect target = Rect::FromSizeAndOrigin(bounds.Size(), where(f));
      sprite->FitFrameToRect(f, &target, nullptr);
    }
    if (url != nullptr) {
      const SmartRef<CLink> link = new CLink();
      link->SetHref(new LinkHREF(String(url)));
      sprite->SetLink(0, frames, ~link);
    }
    return sprite;
  }
  CSprite* AddStill(const SmartRef<CMovie>& movie, Point at, const char* url = nullptr) {
    return Add(movie, [at](std::int16_t) { return at; }, url);
  }

  SmartRef<CShow> page;
  std::int16_t frames;
};

struct Page {
  const char* folder;
  const char* name;  // the file's name without its extension
  SmartRef<CShow> (*make)();
};

SmartRef<CShow> Garden() {
  PageBuilder b(480, 360, 8, 6);
  Canvas sky(480, 360, kSky);
  sky.Rectangle(0, 260, 480, 360, kGrass);
  sky.Ellipse(380, 30, 450, 100, kSun);
  b.AddStill(sky.Movie(), {0, 0})->ToggleBackgroundFlag(true);
  Canvas flower(60, 90, kWhite);
  flower.Rectangle(28, 40, 32, 90, kGrass);
  for (const auto& [x, y] : {std::pair{10, 0}, {30, 0}, {0, 18}, {40, 18}, {20, 30}}) flower.Ellipse(x, y, x + 20, y + 20, kPink);
  flower.Ellipse(20, 15, 40, 35, kSun);
  for (int i = 0; i < 3; ++i) b.AddStill(flower.Movie(), {60 + 70 * i, 200});
  Canvas butterfly(40, 30, kWhite);
  butterfly.Ellipse(0, 0, 20, 30, kOrange);
  butterfly.Ellipse(20, 0, 40, 30, kOrange);
  butterfly.Rectangle(18, 4, 22, 28, kBlack);
  b.Add(butterfly.Movie(), [](std::int16_t f) { return Point(40 + 50 * f, 120 + (f % 2) * 30); },
        "http://www.example.org/jardin/");
  b.AddStill(TextMovie("Mon jardin"), {20, 20});
  return b.page;
}

SmartRef<CShow> Sea() {
  PageBuilder b(480, 360, 10, 8);
  Canvas sea(480, 360, kSky);
  sea.Rectangle(0, 180, 480, 320, kSea);
  sea.Rectangle(0, 320, 480, 360, kSand);
  b.AddStill(sea.Movie(), {0, 0})->ToggleBackgroundFlag(true);
  Canvas boat(90, 80, kWhite);
  boat.Peak(40, 0, 86, 56, kYellow);
  boat.Rectangle(38, 0, 42, 58, kBrown);
  boat.Rectangle(4, 58, 86, 76, kRed);
  b.Add(boat.Movie(), [](std::int16_t f) { return Point(400 - 36 * f, 110); }, "http://www.example.net/bateaux/");
  Canvas fish(40, 20, kSea);
  fish.Ellipse(0, 0, 30, 20, kOrange);
  fish.Peak(28, 2, 40, 18, kOrange);
  b.Add(fish.Movie(), [](std::int16_t f) { return Point(30 + 40 * f, 250 - (f % 3) * 10); },
        "http://www.example.com/poissons/");
  b.AddStill(TextMovie("La mer"), {20, 20});
  return b.page;
}

// A hot link: one picture and its words, both carrying the link.
SmartRef<CShow> HotLink(int width, int height, Rgb colour, const char* words, const char* url) {
  PageBuilder b(width, height, 1, 6);
  Canvas face(width, height, kWhite);
  face.Badge(0, 0, width, height, height < 30 ? 4 : 10, colour, kBlack);
  b.AddStill(face.Movie(), {0, 0}, url);
  const SmartRef<CMovie> text = TextMovie(words);
  const Rect bounds = text->GetBounds();
  b.AddStill(text, {(width - bounds.Width()) / 2, (height - bounds.Height()) / 2}, url);
  return b.page;
}

// A hot-link picture: a drawing with its words below, both carrying the link.
SmartRef<CShow> Clipping(void (*draw)(Canvas&), const char* words, const char* url) {
  PageBuilder b(199, 75, 1, 6);
  Canvas art(70, 70, kWhite);
  draw(art);
  b.AddStill(art.Movie(), {10, 2}, url);
  const SmartRef<CMovie> text = TextMovie(words);
  b.AddStill(text, {90, (75 - text->GetBounds().Height()) / 2}, url);
  return b.page;
}

void House(Canvas& c) {
  c.Peak(5, 2, 65, 32, kRed);
  c.Rectangle(12, 32, 58, 68, kSand);
  c.Rectangle(29, 46, 41, 68, kBrown);
  c.Rectangle(16, 38, 26, 46, kSky);
  c.Rectangle(44, 38, 54, 46, kSky);
}
void Globe(Canvas& c) {
  c.Ellipse(3, 3, 67, 67, kSea);
  c.Ellipse(14, 12, 36, 34, kGreen);
  c.Ellipse(36, 36, 58, 54, kGreen);
}
void Book(Canvas& c) {
  c.Rectangle(6, 10, 64, 62, kPurple);
  c.Rectangle(10, 14, 34, 58, kWhite);
  c.Rectangle(36, 14, 60, 58, kWhite);
  for (int y = 20; y < 56; y += 6) {
    c.Rectangle(13, y, 31, y + 2, kGrey);
    c.Rectangle(39, y, 57, y + 2, kGrey);
  }
}

const Page kPages[] = {
    {"Exemples", "Mon jardin", &Garden},
    {"Exemples", "La mer", &Sea},
    {"Sitessym", "Exemple org", [] { return HotLink(160, 20, kYellow, "example.org", "http://www.example.org/"); }},
    {"Sitessym", "Exemple com", [] { return HotLink(160, 20, kGreen, "example.com", "http://www.example.com/"); }},
    {"Sitessym", "Exemple net", [] { return HotLink(160, 20, kSky, "example.net", "http://www.example.net/"); }},
    {"Clubskid", "Club nature", [] { return HotLink(102, 48, kGreen, "Club nature", "http://nature.example.org/"); }},
    {"Clubskid", "Club dessin", [] { return HotLink(102, 48, kOrange, "Club dessin", "http://dessin.example.com/"); }},
    {"Clubskid", "Club musique", [] { return HotLink(102, 48, kPink, "Club musique", "http://musique.example.net/"); }},
    {"Liens", "Maison", [] { return Clipping(&House, "Ma maison", "http://www.example.org/"); }},
    {"Liens", "Globe", [] { return Clipping(&Globe, "Le monde", "http://www.example.com/"); }},
    {"Liens", "Livre", [] { return Clipping(&Book, "Des histoires", "http://www.example.net/"); }},
};

std::string Bytes(CShow& page) {
  const SmartRef<MemoryStream> stream = new MemoryStream();
  const SmartRef<ObjectFile> file = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
  file->Write(SmartRef<Smart>(&page));
  return std::string(reinterpret_cast<const char*>(stream->GetMemory().GetData()), stream->GetLength());
}

std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <program folder> <output folder>\n", argv[0]);
    return 2;
  }
  const fs::path out = fs::absolute(argv[2]);
  InstallWebSeams();
  if (!SetCurrentDirectoryA(WindowsPath(fs::absolute(argv[1]).string()).c_str())) {
    std::fprintf(stderr, "%s: no program folder %s\n", argv[0], argv[1]);
    return 1;
  }
  try {
    for (const Page& page : kPages) {
      const fs::path folder = out / page.folder;
      fs::create_directories(folder);
      const std::string bytes = Bytes(*page.make());
      std::ofstream file(folder / (std::string(page.name) + ".zod"), std::ios::binary | std::ios::trunc);
      file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!file.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], (folder / page.name).c_str());
        return 1;
      }
    }
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    std::fprintf(stderr, "%s: the pages could not be made\n", argv[0]);
    return 1;
  }
  return 0;
}
