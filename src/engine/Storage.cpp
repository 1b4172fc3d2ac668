#include "engine/Storage.h"

void WritePersistent(ArchiveBlock& block, Smart* object) {
  if (block.IsSkipping()) return;
  block.GetArchive()->WriteObject(CastSmart<Persistent>(object));
}

SmartRef<ListData> ReadListData(ArchiveBlock& block) {
  Persistent* object = block.GetArchive()->ReadObject();
  return CastSmart<ListData>(object);
}
