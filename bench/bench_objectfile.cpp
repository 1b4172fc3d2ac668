// Saving a page of many small objects (sprites, paths and frames are each one object of a page): the
// time per object must stay the same whatever the number of objects. The page is saved into a file on a
// memory file system, so that the figure is that of the save and not of the disk's flush.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/Format.h"
#include "core/ListData.h"
#include "core/ObjectFile.h"
#include "core/String.h"

namespace {

SmartRef<ListData> PageOf(std::int64_t objects) {
  SmartRef<ListData> page = new ListData(&String::classInfo);
  for (std::int64_t n = 0; n < objects; ++n) {
    const SmartRef<String> object = new String(static_cast<int>(n));
    page->Append(~object);
  }
  return page;
}

void BM_SaveSmallObjects(benchmark::State& state) {
  const std::int64_t objects = state.range(0);
  const SmartRef<ListData> page = PageOf(objects);
  const std::string path = "/dev/shm/quillory-bench-" + std::to_string(getpid()) + ".zod";
  std::fclose(std::fopen(path.c_str(), "wb"));
  {
    FileReference reference(path.c_str());
    SmartRef<File> document = new File(&reference, kFileModeRead | kFileModeWrite);
    SmartRef<ObjectFile> file = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~document));
    for (auto _ : state) file->Write(SmartRef<Smart>(~page));
  }
  std::remove(path.c_str());
  state.counters["per_object"] =
      benchmark::Counter(static_cast<double>(objects), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_SaveSmallObjects)->ArgName("objects")->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
