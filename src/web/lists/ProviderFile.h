// The internet providers offered by the publish dialog: text files in "FDA" beside the program. Line 1 is
// a number other than 0; every later line is a comment ("//"), a short line (two characters or fewer) or
// one provider: name|FTP host|server path|web path, where "%1" in the paths stands for the account.
#pragma once

#include <string_view>
#include <vector>

#include "core/FileReference.h"
#include "core/String.h"

struct ProviderEntry {
  String name;                // the pop-up item, and the record's service name once chosen
  String ftpHost;
  String serverPathTemplate;  // "%1" becomes the account
  String webPathTemplate;     // "%1" becomes the account
};

// "FDA" in the program's folder, made when missing.
SmartRef<FileReference> ProviderFolder();

// Appends the providers of a file's text. False for a text that is no provider file (no line, a first
// line that reads as 0, or an entry of fewer than four pieces); the entries before a bad entry are
// appended all the same.
bool ParseProviderText(std::string_view text, std::vector<ProviderEntry>* entries);
bool ReadProviderFile(FileReference& file, std::vector<ProviderEntry>* entries);

// The providers of every text file of the folder, in listing order; a file that is not a provider file
// is offered for deletion, its entries before the bad line kept.
std::vector<ProviderEntry> ReadProviders(FileReference& folder);

// The template with every "%1" replaced by the account.
String SubstituteAccount(const String& pathTemplate, const String& account);
