#include "platform/backend/SdlBackend.h"

#include <SDL.h>

#include "platform/user/Screen.h"
#include "platform/kernel/Codepage.h"
#include "platform/user/Activation.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/WindowTree.h"

namespace platform {

struct SdlBackend::Parts {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0;
  int textureHeight = 0;
  SDL_Cursor* cursor = nullptr;
};

namespace {

// Keys by what they type in the keyboard's layout, so that a letter's code is the key that types it; a key
// that types something else (an accented letter, say) is known by its place on the keyboard.
int VirtualKeyOf(SDL_Keycode key, SDL_Scancode place) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (place >= SDL_SCANCODE_A && place <= SDL_SCANCODE_Z && key >= 0x80 && !(key & SDLK_SCANCODE_MASK)) {
    return 'A' + (place - SDL_SCANCODE_A);
  }
  if (place >= SDL_SCANCODE_1 && place <= SDL_SCANCODE_9 && key >= 0x80 && !(key & SDLK_SCANCODE_MASK)) {
    return '1' + (place - SDL_SCANCODE_1);
  }
  if (place == SDL_SCANCODE_0 && key >= 0x80 && !(key & SDLK_SCANCODE_MASK)) return '0';
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: return VK_MENU;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    default: return 0;
  }
}

// Closing the SDL window closes the program's main window: the bottom-most shown top-level window, the
// one that fills the screen.
void CloseMainWindow() {
  const auto& tops = user::Desktop().children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    if ((*it)->style & WS_VISIBLE) {
      PostMessageA((*it)->handle, WM_CLOSE, 0, 0);
      return;
    }
  }
}

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::Open(const char* title, std::string* error) {
  auto fail = [&](const char* what) -> std::unique_ptr<SdlBackend> {
    if (error != nullptr) *error = std::string(what) + ": " + SDL_GetError();
    return nullptr;
  };
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail("SDL_InitSubSystem");
  // With no display SDL falls back on drivers that show nothing: the program would run unseen. They serve
  // only whoever names them in SDL_VIDEODRIVER (the tests do).
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
      (asked == nullptr || SDL_strcasecmp(asked, driver) != 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (error != nullptr) *error = "no display to open a window on (none answered in DISPLAY or WAYLAND_DISPLAY)";
    return nullptr;
  }
  auto parts = std::make_unique<Parts>();
  const SIZE size = GetScreenSize();
  parts->window = SDL_CreateWindow(title != nullptr ? Cp1252ToUtf8(title).c_str() : "", SDL_WINDOWPOS_UNDEFINED,
                                   SDL_WINDOWPOS_UNDEFINED, size.cx, size.cy, SDL_WINDOW_RESIZABLE);
  if (parts->window == nullptr) {
    std::unique_ptr<SdlBackend> none = fail("SDL_CreateWindow");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return none;
  }
  parts->renderer = SDL_CreateRenderer(parts->window, -1, SDL_RENDERER_SOFTWARE);
  if (parts->renderer == nullptr) {
    std::unique_ptr<SdlBackend> none = fail("SDL_CreateRenderer");
    SDL_DestroyWindow(parts->window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return none;
  }
  SDL_StartTextInput();
  return std::unique_ptr<SdlBackend>(new SdlBackend(std::move(parts)));
}

SdlBackend::SdlBackend(std::unique_ptr<Parts> p) : parts(std::move(p)) {}

SdlBackend::~SdlBackend() {
  SDL_StopTextInput();
  if (parts->cursor != nullptr) SDL_FreeCursor(parts->cursor);
  if (parts->texture != nullptr) SDL_DestroyTexture(parts->texture);
  SDL_DestroyRenderer(parts->renderer);
  SDL_DestroyWindow(parts->window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  // The last user of SDL lets it free what it keeps for the whole library (its system-bus connection).
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

void SdlBackend::PumpInput(DWORD timeoutMs) {
  SDL_Event event;
  const int waited = timeoutMs == 0 ? SDL_PollEvent(&event)
                                    : SDL_WaitEventTimeout(&event, static_cast<int>(timeoutMs > 0x7FFFFFFF ? 0x7FFFFFFF : timeoutMs));
  if (!waited) return;
  Handle(&event);
  while (SDL_PollEvent(&event)) Handle(&event);
}

void SdlBackend::Handle(const void* raw) {
  const SDL_Event& event = *static_cast<const SDL_Event*>(raw);
  switch (event.type) {
    case SDL_MOUSEMOTION: InjectMouseMove(event.motion.x, event.motion.y); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      MouseButton button = MouseButton::Left;
      if (event.button.button == SDL_BUTTON_RIGHT) button = MouseButton::Right;
      else if (event.button.button == SDL_BUTTON_MIDDLE) button = MouseButton::Middle;
      else if (event.button.button != SDL_BUTTON_LEFT) break;
      InjectMouseButton(event.button.x, event.button.y, button, event.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_Keycode sym = event.key.keysym.sym;
      const bool down = event.type == SDL_KEYDOWN;
      if (sym == SDLK_RALT || sym == SDLK_MODE) {
        // The right Alt of the program's keyboards is AltGr, which the program sees as Ctrl with Alt.
        if (down) InjectKey(VK_CONTROL, true);
        InjectKey(VK_MENU, down, true);
        if (!down) InjectKey(VK_CONTROL, false);
        break;
      }
      const int key = VirtualKeyOf(sym, event.key.keysym.scancode);
      const bool extended = sym == SDLK_KP_ENTER || sym == SDLK_RCTRL ||
                            (sym >= SDLK_RIGHT && sym <= SDLK_UP) || sym == SDLK_INSERT || sym == SDLK_DELETE ||
                            sym == SDLK_HOME || sym == SDLK_END || sym == SDLK_PAGEUP || sym == SDLK_PAGEDOWN;
      if (key != 0) InjectKey(key, down, extended);
      break;
    }
    case SDL_TEXTINPUT: InjectText(Utf8ToCp1252(event.text.text).c_str()); break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        SetScreenSize(event.window.data1, event.window.data2);
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        NoteScreenChanged();
      } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        SetApplicationActive(true);
      } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        SetApplicationActive(false);
      }
      break;
    case SDL_QUIT: CloseMainWindow(); break;
    default: break;
  }
}

void SdlBackend::Present(const std::uint32_t* pixels, int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (parts->texture == nullptr || parts->textureWidth != width || parts->textureHeight != height) {
    if (parts->texture != nullptr) SDL_DestroyTexture(parts->texture);
    parts->texture =
        SDL_CreateTexture(parts->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (parts->texture == nullptr) return;
    parts->textureWidth = width;
    parts->textureHeight = height;
  }
  SDL_UpdateTexture(parts->texture, nullptr, pixels, width * static_cast<int>(sizeof(std::uint32_t)));
  SDL_RenderClear(parts->renderer);
  SDL_RenderCopy(parts->renderer, parts->texture, nullptr, nullptr);
  SDL_RenderPresent(parts->renderer);
}

bool SdlBackend::SystemClipboardText(std::string* utf8) {
  if (!SDL_HasClipboardText()) return false;
  char* text = SDL_GetClipboardText();
  if (text == nullptr) return false;
  *utf8 = text;
  SDL_free(text);
  return true;
}

void SdlBackend::SetSystemClipboardText(const std::string& utf8) { SDL_SetClipboardText(utf8.c_str()); }

void SdlBackend::ShowCursorImage(const CursorImage* image) {
  if (image == nullptr) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  // SDL's monochrome cursors take the same four kinds of pixel, in rows of whole bytes.
  const int width = (image->width + 7) / 8 * 8;
  const int stride = width / 8;
  std::vector<Uint8> data(static_cast<std::size_t>(stride * image->height), 0);
  std::vector<Uint8> mask(data.size(), 0);
  for (int y = 0; y < image->height; ++y)
    for (int x = 0; x < image->width; ++x) {
      const CursorPixel p = image->pixels[static_cast<std::size_t>(y * image->width + x)];
      const auto at = static_cast<std::size_t>(y * stride + x / 8);
      const auto bit = static_cast<Uint8>(0x80 >> (x % 8));
      if (p == CursorPixel::Black || p == CursorPixel::Invert) data[at] |= bit;
      if (p == CursorPixel::Black || p == CursorPixel::White) mask[at] |= bit;
    }
  // A driver without cursors of its own keeps its default one, shown all the same.
  if (SDL_Cursor* cursor = SDL_CreateCursor(data.data(), mask.data(), width, image->height, image->hotX, image->hotY)) {
    SDL_SetCursor(cursor);
    if (parts->cursor != nullptr) SDL_FreeCursor(parts->cursor);
    parts->cursor = cursor;
  }
  SDL_ShowCursor(SDL_ENABLE);
}

void SdlBackend::ShowWindowIcon(const std::uint32_t* pixels, int width, int height) {
  // SDL copies the icon, and a window cannot drop one it was given: without an icon it keeps the last.
  if (pixels == nullptr) return;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return;
  SDL_SetWindowIcon(parts->window, surface);
  SDL_FreeSurface(surface);
}

bool SdlBackend::CursorVisible() const { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

std::vector<std::uint32_t> SdlBackend::ReadShownPixels(int* width, int* height) {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(parts->renderer, &w, &h);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  if (SDL_RenderReadPixels(parts->renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(),
                           w * static_cast<int>(sizeof(std::uint32_t))) != 0) {
    pixels.clear();
    w = h = 0;
  }
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
  return pixels;
}

}  // namespace platform
