// Sound through SDL's disk driver: what the voice plays lands in a file, and recording reads another.
// Each fixture closes the sound system before and after, so that every case opens the devices afresh.
#pragma once

#include <cstddef>
#include <string>

#include "support/TempFolder.h"

class DiskAudio {
 public:
  // Real-time pacing keeps the voice at the speed of a sound card; without it the driver plays and
  // captures as fast as it can, and the output file grows with silence while the device stays open.
  enum class Pace { realTime, unpaced };
  explicit DiskAudio(Pace pace = Pace::unpaced);
  ~DiskAudio();
  DiskAudio(const DiskAudio&) = delete;
  DiskAudio& operator=(const DiskAudio&) = delete;

  // The pace of the devices opened from now on.
  static void SetPace(Pace pace);
  // The bytes recording will read.
  void SetCapture(const std::string& bytes) const;
  // Waits (at most the bound) until the voice has nothing left to play; false when it still plays.
  static bool WaitUntilQuiet(int boundMs);
  // Closes the devices and answers everything the voice wrote.
  std::string Played() const;
  const TempFolder& Folder() const { return folder; }

 private:
  TempFolder folder;
};

// Bytes to record or play that are nowhere silence, so that a shift or a gap shows.
std::string Ramp(std::size_t n);
// The unsigned 8-bit samples as a WAVE image or in another layout, made by sox from its own synthesis:
// `effect` follows "sox -n <options> out.wav", for example "synth 0.5 sine 440". Empty when sox fails.
std::string SoxWave(const std::string& options, const std::string& effect);
// The samples of a WAVE image (its "data" chunk), or empty when there is none.
std::string WaveSamples(const std::string& image);
// Where the second sound's samples follow a prefix of the first's in what the voice played, or npos.
// Silence the device wrote before the first sound reached it is allowed.
std::size_t SecondAfterPrefixOfFirst(const std::string& played, const std::string& first, const std::string& second);
// Runs a command line without a shell's help in parsing file names beyond spaces; answers its exit status
// and its standard output.
int RunPeer(const std::string& command, std::string* output = nullptr);
