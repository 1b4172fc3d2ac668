// The publisher's own hosting: an FTP host where children may publish under the publisher's account. Its
// host, account and password belong to a deployment, never to the program's source or data: this build
// holds none, so no host the child types is the publisher's and the child's own password always counts.
#pragma once

#include "core/String.h"

struct PublisherHosting {
  String ftpHost;
  String account;
  String password;
};

// Set by "Publier" when the chosen host is the publisher's, cleared otherwise; the publishing reads it.
extern bool gPublisherAccount;

// Empty unless a deployment set it.
const PublisherHosting& GetPublisherHosting();
void SetPublisherHosting(const PublisherHosting& hosting);

// The host is the publisher's: exactly its name, letter case included. Never true while the deployment
// names no host, so an empty host typed by the child is no match.
bool IsPublisherHost(const String& host);
