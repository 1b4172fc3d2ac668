// The background worker of the views that show many thumbnails (the page browser, the frame overview):
// the view queues one job per cell it paints, and the chore works the queue off on its timer in slices of
// at most half a second, so that painting stays quick and the pictures arrive one by one.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "core/Geometry.h"
#include "ui/shell/Chore.h"

class View;

// One job for the owner: true means every queued job is stale and the queue must be dropped.
using StripsJob = bool (*)(View* owner, std::int32_t job, const Rect& frame);

class CChoreStrips : public Chore {
  SMART_ABSTRACT(CChoreStrips)
 public:
  static constexpr std::uint32_t kPeriod = 200;
  static constexpr std::uint32_t kSliceLength = 500;

  // The owner is not counted: it holds the chore and stops it before it goes.
  CChoreStrips(View* owner, StripsJob job);
  // A chore owns a live timer, so it is never copied.
  SMART_NOT_COPYABLE

  // Moves the job to the end of the queue (it is queued at most once).
  void AddJob(std::int32_t job);
  void Do() override { Run(); }
  // One slice of work.
  void Run();

  std::int32_t NumJobs() const { return jobs.NumItems(); }
  std::int32_t JobAt(std::int32_t n) const { return *static_cast<const std::int32_t*>(jobs.At(n)); }

 private:
  View* owner;
  GenericArray jobs{sizeof(std::int32_t), 0};
  StripsJob job;
  // Set during a slice: a job that shows an alert lets timer messages through, and a tick that comes
  // then must not start a second slice over the same queue.
  bool running = false;
};
