#include "app/publish/PublisherHosting.h"

bool gPublisherAccount = false;

namespace {

PublisherHosting& Hosting() {
  static PublisherHosting hosting;
  return hosting;
}

}  // namespace

const PublisherHosting& GetPublisherHosting() { return Hosting(); }

void SetPublisherHosting(const PublisherHosting& hosting) { Hosting() = hosting; }

bool IsPublisherHost(const String& host) {
  const String& own = Hosting().ftpHost;
  return own.Length() > 0 && host == own;
}
