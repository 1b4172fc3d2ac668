#include "platform/user/Cursor.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/WindowTree.h"
#include "platform/user/InputInternals.h"

namespace platform::user {

namespace {

constexpr int kSize = 32;

struct CursorData {
  CursorImage image;
  bool shared = false;  // loaded cursors live for the run
};

struct CursorState {
  std::map<std::uintptr_t, std::unique_ptr<CursorData>> cursors;
  std::map<UINT, HCURSOR> loaded;  // standard cursors by id, and the program's by id + 0x10000
  std::uintptr_t next = 0x30010;
  HCURSOR current = nullptr;
  int showCount = 0;
  bool clipped = false;
  RECT clip{};
  unsigned generation = 0;
};

CursorState& State() {
  static CursorState state;
  return state;
}

std::vector<CursorResource>& ProgramCursors() {
  static std::vector<CursorResource> cursors;
  return cursors;
}

CursorData* FindCursor(HCURSOR cursor) {
  auto& table = State().cursors;
  auto found = table.find(reinterpret_cast<std::uintptr_t>(cursor));
  return found == table.end() ? nullptr : found->second.get();
}

HCURSOR Adopt(CursorImage image, bool shared) {
  CursorState& s = State();
  const HCURSOR handle = reinterpret_cast<HCURSOR>(s.next);
  s.next += 4;
  auto data = std::make_unique<CursorData>();
  data->image = std::move(image);
  data->shared = shared;
  s.cursors.emplace(reinterpret_cast<std::uintptr_t>(handle), std::move(data));
  return handle;
}

CursorImage FromPicture(int width, int height, int hotX, int hotY, const char* picture) {
  CursorImage image;
  image.width = width;
  image.height = height;
  image.hotX = hotX;
  image.hotY = hotY;
  image.pixels.assign(static_cast<std::size_t>(width * height), CursorPixel::Transparent);
  for (int i = 0; picture != nullptr && picture[i] != '\0' && i < width * height; ++i) {
    switch (picture[i]) {
      case '#': image.pixels[static_cast<std::size_t>(i)] = CursorPixel::Black; break;
      case 'o': image.pixels[static_cast<std::size_t>(i)] = CursorPixel::White; break;
      case '~': image.pixels[static_cast<std::size_t>(i)] = CursorPixel::Invert; break;
      default: break;
    }
  }
  return image;
}

// A small picture placed in the top-left corner of a standard-size cursor.
CursorImage Standard(int width, int hotX, int hotY, const char* picture) {
  const int height = static_cast<int>(std::char_traits<char>::length(picture)) / width;
  CursorImage small = FromPicture(width, height, hotX, hotY, picture);
  CursorImage image;
  image.width = image.height = kSize;
  image.hotX = hotX;
  image.hotY = hotY;
  image.pixels.assign(kSize * kSize, CursorPixel::Transparent);
  for (int y = 0; y < height && y < kSize; ++y)
    for (int x = 0; x < width && x < kSize; ++x)
      image.pixels[static_cast<std::size_t>(y * kSize + x)] = small.pixels[static_cast<std::size_t>(y * width + x)];
  return image;
}

constexpr const char* kArrow =
    "#..........."
    "##.........."
    "#o#........."
    "#oo#........"
    "#ooo#......."
    "#oooo#......"
    "#ooooo#....."
    "#oooooo#...."
    "#ooooooo#..."
    "#oooooooo#.."
    "#ooooo#####."
    "#oo#oo#....."
    "#o#.#oo#...."
    "##..#oo#...."
    "#....#oo#..."
    ".....#oo#..."
    "......#oo#.."
    "......#oo#.."
    ".......##...";

constexpr const char* kIBeam =
    "###.###"
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "...#..."
    "###.###";

constexpr const char* kWait =
    "###########"
    "#ooooooooo#"
    ".#ooooooo#."
    ".#o#o#o#o#."
    "..#o#o#o#.."
    "...#o#o#..."
    "....#o#...."
    ".....#....."
    "....#o#...."
    "...#ooo#..."
    "..#oo#oo#.."
    ".#oo#o#oo#."
    ".#o#o#o#o#."
    "#o#o#o#o#o#"
    "###########";

constexpr const char* kUpArrow =
    "....#...."
    "...#o#..."
    "..#ooo#.."
    ".#ooooo#."
    "#ooooooo#"
    "###ooo###"
    "..#ooo#.."
    "..#ooo#.."
    "..#ooo#.."
    "..#ooo#.."
    "..#ooo#.."
    "..#####..";

constexpr const char* kSizeWE =
    "....#........#...."
    "...##........##..."
    "..#o##########o#.."
    ".#oooooooooooooo#."
    "..#o##########o#.."
    "...##........##..."
    "....#........#....";

constexpr const char* kSizeNS =
    "...#..."
    "..#o#.."
    ".#ooo#."
    "###o###"
    "..#o#.."
    "..#o#.."
    "..#o#.."
    "..#o#.."
    "..#o#.."
    "..#o#.."
    "..#o#.."
    "###o###"
    ".#ooo#."
    "..#o#.."
    "...#...";

// Cursors drawn from lines and circles on a standard-size grid.
CursorImage Cross(bool diagonal, bool ring) {
  CursorImage image;
  image.width = image.height = kSize;
  image.hotX = image.hotY = 15;
  image.pixels.assign(kSize * kSize, CursorPixel::Transparent);
  auto put = [&](int x, int y, CursorPixel p) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) image.pixels[static_cast<std::size_t>(y * kSize + x)] = p;
  };
  if (ring) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const double d = std::hypot(x - 15.0, y - 15.0);
        if (d >= 9.0 && d < 12.0) put(x, y, CursorPixel::Black);
        else if ((d >= 8.0 && d < 9.0) || (d >= 12.0 && d < 13.0)) put(x, y, CursorPixel::White);
      }
    for (int i = -8; i <= 8; ++i) {
      put(15 + i, 15 + i, CursorPixel::Black);
      put(16 + i, 15 + i, CursorPixel::Black);
    }
    return image;
  }
  for (int i = -9; i <= 9; ++i) {
    if (diagonal) {
      put(15 + i, 15 + i, CursorPixel::Black);
      put(15 + i, 15 - i, CursorPixel::Black);
    } else {
      put(15 + i, 15, CursorPixel::Black);
      put(15, 15 + i, CursorPixel::Black);
    }
  }
  return image;
}

CursorImage StandardCursor(UINT id) {
  switch (id) {
    case 32513: return Standard(7, 3, 8, kIBeam);
    case 32514: return Standard(11, 5, 7, kWait);
    case 32515: return Cross(false, false);
    case 32516: return Standard(9, 4, 0, kUpArrow);
    case 32642:
    case 32643: return Cross(true, false);
    case 32644: return Standard(18, 8, 3, kSizeWE);
    case 32645: return Standard(7, 3, 7, kSizeNS);
    case 32646: return Cross(false, false);
    case 32648: return Cross(false, true);
    default: return Standard(12, 0, 0, kArrow);  // the arrow, and the pointers drawn as one
  }
}

bool IsStandardId(UINT id) {
  switch (id) {
    case 32512: case 32513: case 32514: case 32515: case 32516: case 32642: case 32643: case 32644:
    case 32645: case 32646: case 32648: case 32649: case 32650: case 32651:
      return true;
    default:
      return false;
  }
}

void Changed() { ++State().generation; }

}  // namespace

void ResetCursors() {
  CursorState& s = State();
  // Loaded cursors stay valid for the run, as handles the program keeps in globals rely on.
  for (auto it = s.cursors.begin(); it != s.cursors.end();) {
    it = it->second->shared ? std::next(it) : s.cursors.erase(it);
  }
  s.current = nullptr;
  s.showCount = 0;
  s.clipped = false;
  Changed();
}

}  // namespace platform::user

using namespace platform::user;
using platform::CursorImage;
using platform::CursorPixel;

HCURSOR LoadCursorA(HINSTANCE module, LPCSTR name) {
  const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
  if (id >= 0x10000) {  // only numbered cursors exist
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  const UINT key = module == nullptr ? id : id + 0x10000;
  CursorState& s = State();
  if (auto found = s.loaded.find(key); found != s.loaded.end()) return found->second;
  CursorImage image;
  if (module == nullptr) {
    if (!IsStandardId(id)) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
    image = StandardCursor(id);
  } else {
    const platform::CursorResource* resource = nullptr;
    for (const auto& r : ProgramCursors()) {
      if (r.id == id) resource = &r;
    }
    if (resource == nullptr) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
    image = FromPicture(resource->width, resource->height, resource->hotX, resource->hotY, resource->picture);
  }
  const HCURSOR handle = Adopt(std::move(image), true);
  s.loaded[key] = handle;
  return handle;
}

HCURSOR CreateCursor(HINSTANCE, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane) {
  if (width <= 0 || height <= 0 || width > 256 || height > 256 || andPlane == nullptr || xorPlane == nullptr ||
      xHotSpot < 0 || yHotSpot < 0 || xHotSpot >= width || yHotSpot >= height) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int stride = (width + 15) / 16 * 2;
  const auto* andBits = static_cast<const BYTE*>(andPlane);
  const auto* xorBits = static_cast<const BYTE*>(xorPlane);
  CursorImage image;
  image.width = width;
  image.height = height;
  image.hotX = xHotSpot;
  image.hotY = yHotSpot;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y * stride + x / 8);
      const int bit = 0x80 >> (x % 8);
      const bool a = (andBits[at] & bit) != 0, b = (xorBits[at] & bit) != 0;
      image.pixels.push_back(a ? (b ? CursorPixel::Invert : CursorPixel::Transparent)
                               : (b ? CursorPixel::White : CursorPixel::Black));
    }
  return Adopt(std::move(image), false);
}

BOOL DestroyCursor(HCURSOR cursor) {
  CursorData* data = FindCursor(cursor);
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (data->shared) return TRUE;  // loaded cursors are the system's to keep
  CursorState& s = State();
  if (s.current == cursor) {
    s.current = nullptr;
    Changed();
  }
  s.cursors.erase(reinterpret_cast<std::uintptr_t>(cursor));
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  CursorState& s = State();
  const HCURSOR previous = s.current;
  if (cursor != nullptr && FindCursor(cursor) == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return previous;
  }
  if (cursor != previous) {
    s.current = cursor;
    Changed();
  }
  return previous;
}

HCURSOR GetCursor() { return State().current; }

int ShowCursor(BOOL show) {
  CursorState& s = State();
  s.showCount += show ? 1 : -1;
  if (s.showCount == 0 || s.showCount == -1) Changed();
  return s.showCount;
}

BOOL ClipCursor(const RECT* rect) {
  CursorState& s = State();
  if (rect == nullptr) {
    s.clipped = false;
    return TRUE;
  }
  if (rect->right <= rect->left || rect->bottom <= rect->top) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  s.clipped = true;
  s.clip = *rect;
  return TRUE;
}

BOOL GetClipCursor(RECT* rect) {
  if (rect == nullptr) return FALSE;
  const CursorState& s = State();
  if (s.clipped) {
    *rect = s.clip;
  } else {
    const RECT screen = Desktop().rect;
    *rect = screen;
  }
  return TRUE;
}

BOOL GetIconInfo(HCURSOR cursor, ICONINFO* info) {
  const CursorData* data = FindCursor(cursor);
  if (data == nullptr || info == nullptr) {
    SetLastError(data == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const CursorImage& image = data->image;
  const int stride = (image.width + 15) / 16 * 2;
  std::vector<BYTE> bits(static_cast<std::size_t>(stride * image.height * 2), 0);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const CursorPixel p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
      const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
      if (p == CursorPixel::Transparent || p == CursorPixel::Invert) bits[static_cast<std::size_t>(y * stride + x / 8)] |= bit;
      if (p == CursorPixel::White || p == CursorPixel::Invert)
        bits[static_cast<std::size_t>((y + image.height) * stride + x / 8)] |= bit;
    }
  const HBITMAP mask = CreateBitmap(image.width, image.height * 2, 1, 1, bits.data());
  if (mask == nullptr) return FALSE;
  *info = ICONINFO{FALSE, static_cast<DWORD>(image.hotX), static_cast<DWORD>(image.hotY), mask, nullptr};
  return TRUE;
}

namespace platform {

void RegisterCursorResources(std::span<const CursorResource> cursors) {
  auto& all = ProgramCursors();
  all.insert(all.end(), cursors.begin(), cursors.end());
}

const CursorImage* ShownCursor() {
  const CursorState& s = user::State();
  if (s.showCount < 0 || s.current == nullptr) return nullptr;
  const user::CursorData* data = user::FindCursor(s.current);
  return data == nullptr ? nullptr : &data->image;
}

unsigned CursorGeneration() { return user::State().generation; }

POINT ConfinePoint(POINT point) {
  const user::CursorState& s = user::State();
  if (!s.clipped) return point;
  point.x = std::clamp(point.x, s.clip.left, s.clip.right - 1);
  point.y = std::clamp(point.y, s.clip.top, s.clip.bottom - 1);
  return point;
}

}  // namespace platform
