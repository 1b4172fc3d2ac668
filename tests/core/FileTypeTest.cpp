#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/TextFile.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/kernel/Files.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace {

FileType& gifType = *NewPermanent<FileType>("Image GIF", FourCharCode("GIFf"), FourCharCode("gif "));
FileType& jpegType = *NewPermanent<FileType>("Image JPEG", FourCharCode("JPEG"), FourCharCode("jpg "));
FileType& pictType = *NewPermanent<FileType>("Image PICT", FourCharCode("PICT"), 0);

List Types(std::initializer_list<FileType*> types) {
  FileTypeList list;
  for (FileType* type : types) list.Append(type);
  return list;
}

// Records what the dialog was asked and answers with a path (or cancels), as a user would.
class ScriptedChooser {
 public:
  explicit ScriptedChooser(std::optional<std::string> answer, std::string wanderTo = "") {
    previous =
        platform::SetFileChooser([this, answer, wanderTo](platform::FileDialogKind kind, const OPENFILENAMEA& record) {
          this->kind = kind;
          const char* p = record.lpstrFilter;
          filter.clear();
          while (*p) {
            filter += std::string(p) + "|";
            p += std::strlen(p) + 1;
          }
          defaultExtension = record.lpstrDefExt;
          proposed = record.lpstrFile;
          flags = record.Flags;
          if (!wanderTo.empty()) SetCurrentDirectoryA(wanderTo.c_str());  // the user browses elsewhere
          return answer;
        });
  }
  ~ScriptedChooser() { platform::SetFileChooser(std::move(previous)); }

  platform::FileDialogKind kind{};
  std::string filter, defaultExtension, proposed;
  DWORD flags = 0;

 private:
  platform::FileChooser previous;
};

TEST(FileType, CodesAndTheirTexts) {
  EXPECT_EQ(FourCharCode("TEXT"), 0x54455854u);
  EXPECT_EQ(ExtensionTextToCode("GIF"), 0x67696620u);
  EXPECT_EQ(ExtensionTextToCode("J\xC9G"), 0x6AC96720u) << "only A..Z are lower-cased";
  EXPECT_EQ(ExtensionTextToCode("gi\0"), 0x67690020u);
  char text[4];
  ExtensionCodeToText(0x67690020u, text);
  EXPECT_STREQ(text, "gi");
  ExtensionCodeToText(0, text);
  EXPECT_STREQ(text, "");
  ExtensionCodeToText(kAllFilesCode, text);
  EXPECT_STREQ(text, "*  ");
  EXPECT_EQ(TextFile::fileType->GetMacType(), FourCharCode("TEXT"));
  EXPECT_STREQ(FileCreatorType::defaultCreator->GetName(), "Inconnu");
}

TEST(FileType, CopiesKeepEveryField) {
  FileType html("Page HTML", FourCharCode("TEXT"), FourCharCode("htm "), "html");
  SmartRef<Smart> copy(html.Clone());
  auto* type = CastSmart<FileType>(~copy);
  ASSERT_NE(type, nullptr);
  EXPECT_STREQ(type->GetExtraExtension(), "html");
  EXPECT_EQ(type->GetExtensionCode(), FourCharCode("htm "));
  FileType other("x", 0, 0);
  other.CopyFrom(&html);
  EXPECT_STREQ(other.GetName(), "Page HTML");
  FileCreatorType creator("Quillory", FourCharCode("QUIL"));
  EXPECT_TRUE(creator.CanCopyFrom(&html));
  const SmartRef<Exception> raised = Raised([&] { html.CopyFrom(&creator); });
  EXPECT_EQ(RaisedText(raised), "castPtr");
  EXPECT_EQ(RaisedPlace(raised), "FILEREF:2448");
}

TEST(FileType, OpenDialogFilters) {
  struct Case {
    List types;
    const char* filter;
    const char* defaultExtension;
  };
  const Case cases[] = {
      {Types({&gifType, &jpegType}), "Image GIF (*.gif)|*.gif|Image JPEG (*.jpg)|*.jpg|", "gif"},
      {Types({&pictType}), "", ""},
      {Types({&pictType, &jpegType}), "Image JPEG (*.jpg)|*.jpg|", "jpg"},
      {FileTypeList(), "Tous (*.*)|*.*|", "*  "},
  };
  for (const auto& c : cases) {
    ScriptedChooser chooser("C:\\images\\a.gif");
    char path[MAX_PATH];
    RunOpenDialog(c.types, path);
    EXPECT_EQ(chooser.kind, platform::FileDialogKind::kOpen);
    EXPECT_EQ(chooser.filter, c.filter);
    EXPECT_EQ(chooser.defaultExtension, c.defaultExtension);
    EXPECT_EQ(chooser.flags, 0x1002u);
    EXPECT_STREQ(path, "C:\\images\\a.gif");
  }
}

TEST(FileType, CancellingLeavesTheCurrentFolder) {
  TempFolder root;
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  {
    // Without a chooser the dialog answers "cancelled".
    char path[MAX_PATH];
    EXPECT_TRUE(IsMember<UserCancelException>(~Raised([&] { RunOpenDialog(FileTypeList(), path); })));
  }
  ScriptedChooser chooser(std::nullopt, root.WinPath());
  char path[MAX_PATH];
  EXPECT_TRUE(IsMember<UserCancelException>(~Raised([&] { RunOpenDialog(FileTypeList(), path); })));
  EXPECT_TRUE(
      IsMember<UserCancelException>(~Raised([&] { FileReference chosen(FileReference::SaveDialog{}, gifType); })));
  char after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(after, before);
}

TEST(FileType, SaveDialogMakesTheChosenFile) {
  TempFolder root;
  ScriptedChooser chooser(root.WinPath("Nouveau.TXT"));
  FileReference chosen(FileReference::SaveDialog{}, pictType);
  EXPECT_EQ(chooser.kind, platform::FileDialogKind::kSave);
  EXPECT_EQ(chooser.filter, "Image PICT (*.*)|*.*|");
  EXPECT_EQ(chooser.proposed, "sanstitre");
  EXPECT_TRUE(chosen.IsLocated());
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "Nouveau.TXT"));
  EXPECT_TRUE(chosen.IsOfType(*TextFile::fileType));
  EXPECT_TRUE(TextFile::fileType->Matches(&chosen));
  EXPECT_FALSE(gifType.Matches(&chosen));
}

}  // namespace
