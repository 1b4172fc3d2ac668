#include "support/DiskAudio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/wait.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/media/Mmsystem.h"

DiskAudio::DiskAudio(Pace pace) {
  platform::CloseAudioDevices();
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", (folder.Path() / "played.raw").c_str(), 1);
  setenv("SDL_DISKAUDIOFILEIN", (folder.Path() / "capture.raw").c_str(), 1);
  SetPace(pace);
  SetCapture("");
}

void DiskAudio::SetPace(Pace pace) {
  if (pace == Pace::unpaced) {
    setenv("SDL_DISKAUDIODELAY", "0", 1);
  } else {
    unsetenv("SDL_DISKAUDIODELAY");
  }
}

DiskAudio::~DiskAudio() {
  platform::CloseAudioDevices();
  for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIOFILEIN", "SDL_DISKAUDIODELAY"})
    unsetenv(name);
}

void DiskAudio::SetCapture(const std::string& bytes) const { folder.Write("capture.raw", bytes); }

bool DiskAudio::WaitUntilQuiet(int boundMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (platform::IsVoicePlaying()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::string DiskAudio::Played() const {
  platform::CloseAudioDevices();
  return folder.Read("played.raw");
}

std::string Ramp(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  return bytes;
}

int RunPeer(const std::string& command, std::string* output) {
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char chunk[4096];
  while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) text.append(chunk, n);
  const int status = pclose(pipe);
  if (output != nullptr) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string SoxWave(const std::string& options, const std::string& effect) {
  // A file rather than a pipe: sox fixes the chunk sizes by seeking back.
  TempFolder scratch;
  const std::string file = (scratch.Path() / "made.wav").string();
  if (RunPeer("/usr/bin/sox -n " + options + " '" + file + "' " + effect) != 0) return "";
  return scratch.Read("made.wav");
}

std::string WaveSamples(const std::string& image) {
  if (image.size() < 12 || image.compare(0, 4, "RIFF") != 0) return "";
  std::size_t at = 12;
  while (at + 8 <= image.size()) {
    std::uint32_t size;
    std::memcpy(&size, image.data() + at + 4, 4);
    if (image.compare(at, 4, "data") == 0) return image.substr(at + 8, size);
    at += 8 + size + (size & 1);
  }
  return "";
}

std::size_t SecondAfterPrefixOfFirst(const std::string& played, const std::string& first, const std::string& second) {
  const std::size_t at = played.find(second);
  if (at == std::string::npos) return std::string::npos;
  const std::size_t lead = std::min(played.find_first_not_of('\x80'), at);
  const std::size_t firstLead = std::min(first.find_first_not_of('\x80'), first.size());
  // The played prefix, its leading silence matched against the first sound's own as far as it goes.
  const std::size_t skip = lead > firstLead ? lead - firstLead : 0;
  const std::size_t cut = at - skip;
  if (cut > first.size() || played.compare(skip, cut, first, 0, cut) != 0) return std::string::npos;
  return at;
}
