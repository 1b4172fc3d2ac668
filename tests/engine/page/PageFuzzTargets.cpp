#include "PageFuzzTargets.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/Stream.h"
#include "engine/Seams.h"
#include "engine/page/CShow.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/AssertionAlerts.h"

namespace page_testing {

namespace {

// Frames and pixels drawn per input: enough to reach every sprite, few enough to keep the fuzzer fast.
constexpr std::int16_t kFramesDrawn = 6;
constexpr std::int32_t kLargestSide = 320;

void Exercise(CShow& page) {
  CMovie& movie = *page.GetMovieGroup();
  const Rect bounds = movie.GetBounds();
  // The stage is the page's own size, as far as a test surface goes.
  const Rect stage{0, 0, std::clamp(bounds.Width(), 1, kLargestSide), std::clamp(bounds.Height(), 1, kLargestSide)};
  const SmartRef<OffScreen> device = new OffScreen(stage.Width(), stage.Height(), ColorTable::GetStandard(8), Color(0), true);
  DisplayPort port(~device, stage);
  const std::int16_t frames = std::min<std::int16_t>(movie.GetFrameCount(), kFramesDrawn);
  page.PlayFrame(port, 0, stage, true);
  for (std::int16_t f = 1; f <= frames; ++f) {
    page.PlayFrame(port, static_cast<std::int16_t>(f % frames), stage, false);
    page.GetFrameStamp(port, static_cast<std::int16_t>(f % frames));
  }
  page.PurgeFrameCaches(-1);
  page.ForgetFrame(-1);
  const SmartRef<MemoryStream> saved = new MemoryStream();
  const SmartRef<ObjectFile> file = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~saved));
  file->Write(SmartRef<Smart>(&page));
}

}  // namespace

bool ReadUntrustedPage(const std::uint8_t* data, std::size_t size) {
  InstallEngineSeams();
  const AssertionAlertsAbort alerts;
  bool read = false;
  const SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(data, static_cast<std::uint32_t>(size));
  try {
    const SmartRef<ObjectFile> file = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
    SmartRef<Smart> root;
    file->Read(&root);
    if (auto* page = CastSmart<CShow>(~root)) {
      read = true;
      Exercise(*page);
    }
  } catch (Exception* failure) {
    const SmartRef<Exception> reported = failure;
    reported->Report(kAlertExclamation);
  }
  return read;
}

}  // namespace page_testing
