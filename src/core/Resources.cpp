#include "core/Resources.h"

#include <cstdio>
#include <string>

#include "core/Alert.h"
#include "core/CoreState.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Seams.h"
#include "core/Sound.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "core/TextFile.h"
#include "core/Utilities.h"
#include "platform/kernel/StringTable.h"
#include "platform/user/MessageBox.h"

constinit Resources gFrameworkStrings(128, 200);
constinit Resources gDocumentMessages(190, 199);
constinit Resources stockResources(200, 399);
constinit Resources gSystemCursors(32512, 65162);

void Resources::SetOSApp(const MainWindowRecord* record) {
  const MainWindowRecord*& osApp = TheCoreState().osApp;
  if (osApp != nullptr) AssertFailed("Resources::osApp == NULL", __FILE__, __LINE__);
  osApp = record;
}

const MainWindowRecord* Resources::GetOSApp() {
  const MainWindowRecord* osApp = TheCoreState().osApp;
  if (osApp == nullptr) AssertFailed("Resources::osApp != NULL", __FILE__, __LINE__);
  return osApp;
}

int StandardCursorIndex(int kind) {
  switch (kind) {
    case 0: return 0;  // IDC_ARROW
    case 1: return 2;  // IDC_WAIT
    case 2: return 1;  // IDC_IBEAM
    default: return kind;
  }
}

SMART_DEFINE_ABSTRACT(SoundResource, "SoundResource", SmartImplementation)

SoundResource::SoundResource(const Resources* set, int index) : set(set), index(static_cast<std::int16_t>(index)) {
  RegisterPurgeable(this);
}

SoundResource::~SoundResource() { UnregisterPurgeable(this); }

Sound* SoundResource::Get() {
  if (!sound) sound = set->GetSoundData(index);
  return ~sound;
}

void SoundResource::Purge() {
  if (sound && !sound->IsShared()) sound = nullptr;
}

Resources::~Resources() = default;

SoundResource* Resources::GetSoundResource(int index) {
  CheckIndex(index);
  if (sounds.size() <= static_cast<std::size_t>(index)) sounds.resize(static_cast<std::size_t>(index) + 1);
  if (!sounds[static_cast<std::size_t>(index)])
    sounds[static_cast<std::size_t>(index)] = new SoundResource(this, index);
  return ~sounds[static_cast<std::size_t>(index)];
}

Sound* Resources::GetSoundData(int index) const {
  CheckIndex(index);
  const int id = first + index;
  try {
    SmartRef<FileReference> found(FindDataFile(id, *WAVEFile::fileType));
    CHECK_NOT_NULL(~found);
    // Read as any WAVE file is, so that a file damaged after installation is refused here rather than
    // played or published as if it were a sound.
    SmartRef<File> file(new File(~found, kFileModeRead));
    const SoundConverters& converters = GetSoundConverters();
    if (converters.isWave != nullptr) CHECK_CALL(converters.isWave(*file));
    return new Sound(*file, Sound::wave, false);
  } catch (Exception*) {
    ReportMissingResource("GetSoundData failed!", id);
  }
}

void ReportMissingResource(const char* failure, int id) {
  char text[256];
  std::snprintf(text, sizeof text, "%s\nResID=%i", failure, id);
  MessageBoxA(nullptr, text, "Ressource manquante", MB_OK);
  ThrowMissingDataFile();
}

void Resources::CheckIndex(int index) const {
  if (static_cast<std::int16_t>(index) != index || index < 0 || index > count)
    ThrowError("Resource id not in this set of resources.", __FILE__, __LINE__);
}

void Resources::GetString(char* out, int index, const char* text1, const char* text2, const char* text3,
                          const char* text4) const {
  CheckIndex(index);
  const int id = first + index;
  char text[256];
  if (LoadStringA(nullptr, static_cast<UINT>(id), text, sizeof text) == 0) {
    std::string message = "Ressource de chaîne manquante "_cp + std::to_string(id);
    message.resize(std::min<std::size_t>(message.size(), 255));
    ThrowError(message.c_str(), __FILE__, __LINE__);
  }
  if (text1 == nullptr) {
    CopyBounded(text, out, 256);
    return;
  }
  const char* const inserts[4] = {text1, text2, text3, text4};
  // A result too long for the buffer keeps what fits.
  FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, text, 0, 0, out, 256, inserts);
}

void GetFrameworkString(char* out, int index, const char* text1, const char* text2, const char* text3,
                        const char* text4) {
  gFrameworkStrings.GetString(out, index, text1, text2, text3, text4);
}

void GetStockString(char* out, int index, const char* text1, const char* text2, const char* text3, const char* text4) {
  stockResources.GetString(out, index, text1, text2, text3, text4);
}

namespace {
SmartRef<FileReference> DataFolder() {
  SmartRef<FileReference> application(FileReference::ApplicationFolder());
  return new FileReference(*application, "Data", false);
}
}  // namespace

FileReference* FindDataFile(int id, const FileType& type) {
  const SmartRef<FileReference> folder = DataFolder();
  char name[16];
  IntToText(static_cast<std::int16_t>(id), name, sizeof name);
  if (!folder->ChildExists(name, type)) return nullptr;
  return new FileReference(type, *FileCreatorType::defaultCreator, *folder, name, false);
}

void ThrowMissingDataFile() {
  char text[256];
  GetFrameworkString(text, 3);
  ThrowError(text, __FILE__, __LINE__);
}

FileReference* DataFileReference(int number, bool create) {
  const SmartRef<FileReference> folder = DataFolder();
  char name[16];
  IntToText(number, name, sizeof name);
  return new FileReference(*TextFile::fileType, *FileCreatorType::defaultCreator, *folder, name, create);
}

bool LoadDataText(String& out, int number) {
  try {
    SmartRef<FileReference> reference(DataFileReference(number, false));
    SmartRef<TextFile> file(new TextFile(~reference, kFileModeRead));
    SmartRef<Smart> read;
    file->Read(&read);
    const String* text = CastSmart<String>(~read);
    if (text == nullptr) return false;
    out = *text;
    return true;
  } catch (Exception*) {
    ClearLastError();
    return false;
  }
}
