// The engine application's table: the reader each file gets, the file types offered, thumbnails, pages
// made from whatever is opened, the numbered commands, the start-up check and the idler's requests.
#include <gtest/gtest.h>

#include "core/ObjectFile.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/TextFile.h"
#include "engine/EngineOptions.h"
#include "engine/EngineTestSupport.h"
#include "engine/app/EngineAppTestSupport.h"
#include "engine/memory/CMemory.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "engine/sprites/CSprite.h"
#include "support/AlertRecorder.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/player/PlayerHooks.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/BMPFile.h"
#include "graphics/formats/GIFFile.h"
#include "graphics/formats/JPEGFile.h"
#include "graphics/formats/PICTFile.h"
#include "platform/kernel/System.h"
#include "platform/user/MessageBox.h"
#include "sound/SoundChannel.h"
#include "ui/views/DocWindow.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/Window.h"

using namespace engine_test;

namespace {

template <typename T>
bool Is(Smart* object) {
  return CastSmart<T>(object) != nullptr;
}

std::string TypeName(Smart* object) {
  if (Is<BMPFile>(object)) return "BMPFile";
  if (Is<WAVEFile>(object)) return "WAVEFile";
  if (Is<AIFFFile>(object)) return "AIFFFile";
  if (Is<PICTFile>(object)) return "PICTFile";
  if (Is<JPEGFile>(object)) return "JPEGFile";
  if (Is<GIFFile>(object)) return "GIFFile";
  if (Is<TextFile>(object)) return "TextFile";
  if (Is<ObjectFile>(object)) return "ObjectFile";
  return object ? "other" : "none";
}

}  // namespace

TEST_F(EngineAppTest, EachExtensionGetsItsReader) {
  struct Case {
    const char* name;
    const char* reader;
  } cases[] = {
      {"a.bmp", "BMPFile"}, {"b.BMP", "BMPFile"},   {"c.wav", "WAVEFile"},  {"d.iff", "AIFFFile"},
      {"e.jpg", "JPEGFile"}, {"f.gif", "GIFFile"},  {"g.txt", "TextFile"},  {"h.pag", "ObjectFile"},
      {"i.pct", "ObjectFile"}, {"j.doc", "ObjectFile"},
  };
  InEngineProgram([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      SmartRef<FileReference> file = FileWith(c.name, "x");
      EXPECT_EQ(TypeName(~gApplication->MakeScribe(*file, kFileModeRead)), c.reader);
    }
  });
}

TEST_F(EngineAppTest, TheOpenDialogOffersPicturesSoundsAndTextsBeforeTheDocumentType) {
  InEngineProgram([&] {
    List types = gApplication->GetFileTypes(0);
    std::vector<std::string> names;
    for (std::int32_t i = 1; i <= types.NumItems(); ++i) names.push_back(CastSmart<FileType>(types.At(i))->GetName());
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0], BMPFile::fileType->GetName());
    EXPECT_EQ(names[1], JPEGFile::fileType->GetName());
    EXPECT_EQ(names[2], GIFFile::fileType->GetName());
    EXPECT_EQ(names[3], WAVEFile::fileType->GetName());
    EXPECT_EQ(names[4], TextFile::fileType->GetName());
    EXPECT_EQ(names[5], GetGenericTypeIndex()->GetFileType()->GetName());
  });
}

TEST_F(EngineAppTest, PreviewsOfPicturesSoundsAndDamagedFiles) {
  InEngineProgram([&] {
    SmartRef<FileReference> picture = FixtureFile("im.bmp", "pictures/im3-24.bmp");
    SmartRef<Smart> unscaled = engineApp->MakePreview(*picture, 0, 40);
    ASSERT_TRUE(Is<BitMap>(~unscaled));
    Rect bounds = CastSmart<BitMap>(~unscaled)->GetBounds();
    EXPECT_EQ(bounds.Width(), 61);
    EXPECT_EQ(bounds.Height(), 47);

    SmartRef<Smart> scaled = engineApp->MakePreview(*picture, 30, 20);
    ASSERT_TRUE(Is<BitMap>(~scaled));
    bounds = CastSmart<BitMap>(~scaled)->GetBounds();
    EXPECT_EQ(bounds.Width(), 30);
    EXPECT_EQ(bounds.Height(), 20);

    // A sound has no picture of its own: it gets the program's sound picture.
    SmartRef<FileReference> sound = FixtureFile("s.wav", "sounds/tiny.wav");
    SmartRef<Smart> soundPreview = engineApp->MakePreview(*sound, 0, 0);
    ASSERT_TRUE(Is<BitMap>(~soundPreview));
    const Point stockSize = stockResources.GetImageSize(1);
    EXPECT_EQ(CastSmart<BitMap>(~soundPreview)->GetBounds().Width(), stockSize.x);

    for (const char* damaged : {"bad.bmp", "bad.gif", "bad.pag", "bad.jpg"}) {
      SCOPED_TRACE(damaged);
      SmartRef<FileReference> file = FileWith(damaged, "not what it claims to be");
      EXPECT_FALSE(engineApp->MakePreview(*file, 20, 20));
    }
  });
}

TEST_F(EngineAppTest, OpenedPicturesSoundsAndTextsBecomePagesWithoutAFile) {
  InEngineProgram([&] {
    struct Case {
      const char* name;
      std::string bytes;
    } cases[] = {
        {"p.bmp", FixtureBytes("pictures/im3-24.bmp")},
        {"p.gif", FixtureBytes("pictures/im.gif")},
        {"p.jpg", FixtureBytes("pictures/cjpeg-baseline.jpg")},
        {"s.wav", FixtureBytes("sounds/tiny.wav")},
        {"t.txt", "Bonjour"},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const std::size_t before = gApplication->GetWindows().NumItems();
      DocWindow* window = OpenAsMenuDoes(*FileWith(c.name, c.bytes));
      ASSERT_EQ(static_cast<std::size_t>(gApplication->GetWindows().NumItems()), before + 1);
      ASSERT_NE(window, nullptr);
      EXPECT_FALSE(window->GetScribe()) << "a page made around a file must not be saved over it";
      EXPECT_TRUE(PlayPaneOf(window)) << "the page plays in its window";
    }
  });
}

TEST_F(EngineAppTest, APageFileKeepsItsFileAndADamagedOneGivesTheProgramsMessage) {
  AlertRecorder recorder;
  InEngineProgram([&] {
    SmartRef<CMovieGroup> group(new CMovieGroup(defaultMovieBounds));
    SmartRef<CShow> page(new CShow(~group, false));
    SmartRef<FileReference> file = SavePageFile(folder, *page, "page.pag");
    DocWindow* window = OpenAsMenuDoes(*file);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->GetScribe());
    ASSERT_TRUE(PlayPaneOf(window));
    EXPECT_EQ(PlayPaneOf(window)->GetShow()->GetMovieGroup()->GetBounds(), defaultMovieBounds);

    // A file of the document type that holds something that is no page and no movie.
    SmartRef<FileReference> foreign(new FileReference(folder.Write("foreign.pag").c_str()));
    {
      const SmartRef<File> out(new File(~foreign, kFileModeWrite));
      const SmartRef<ObjectFile> objects(new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~out)));
      objects->Write(SmartRef<Smart>(new ListData(&String::classInfo)));
    }
    const std::int32_t before = gApplication->GetWindows().NumItems();
    recorder.Clear();
    OpenAsMenuDoes(*foreign);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), before);
    ASSERT_EQ(recorder.Alerts().size(), 1u);
    EXPECT_EQ(recorder.Alerts()[0].text, NumberedText(191));
  });
}

TEST_F(EngineAppTest, NumberedCommands) {
  InEngineProgram([&] {
    CHAApp& app = *engineApp;
    gSoundMuted = false;
    EXPECT_EQ(app.GetNumberCommandStatus(cmdSoundOn), kCommandChecked);
    app.HandleNumberCommand(cmdSoundOn, nullptr);
    EXPECT_TRUE(gSoundMuted);
    EXPECT_EQ(app.GetNumberCommandStatus(cmdSoundOn), kCommandEnabled);
    app.HandleNumberCommand(cmdSoundOn, nullptr);
    EXPECT_FALSE(gSoundMuted);

    const std::uint32_t options = gEngineOptions;
    gEngineOptions = 0x0C;
    EXPECT_EQ(app.GetNumberCommandStatus(cmdToolSounds), kCommandChecked);
    app.HandleNumberCommand(cmdToolSounds, nullptr);
    EXPECT_EQ(gEngineOptions, 0x8Cu);
    EXPECT_EQ(app.GetNumberCommandStatus(cmdToolSounds), kCommandEnabled);
    gEngineOptions = options;

    struct Case {
      std::int32_t number;
      int status;
    } cases[] = {{2, kCommandDisabled},    {3, kCommandDisabled},    {256, kCommandEnabled},
                 {2000, kCommandEnabled},  {2060, kCommandDisabled}, {2061, kCommandDisabled},
                 {2042, kCommandDisabled}, {0, kCommandDisabled}};
    for (const Case& c : cases) {
      SCOPED_TRACE(c.number);
      EXPECT_EQ(app.GetNumberCommandStatus(c.number), c.status);
      // Commands without a window to toggle, or unknown ones, change nothing.
      const std::int32_t windows = gApplication->GetWindows().NumItems();
      if (c.number >= 256) app.HandleNumberCommand(c.number, nullptr);
      EXPECT_EQ(gApplication->GetWindows().NumItems(), windows);
    }
  });
}

TEST_F(EngineAppTest, FloatingWindowsAreShownAndHiddenByTheirCommands) {
  SmartRef<Window> tools;
  SmartRef<Window> second;
  prepareRecord = [&](AppCreationRecord& made) {
    tools = new Window(nullptr, 0, false, false, 0, 0);
    second = new Window(nullptr, 0, false, false, 0, 0);
    made.toolsWindow = tools;
    made.secondWindow = second;
  };
  InEngineProgram([&] {
    CHAApp& app = *engineApp;
    tools->Show(true);
    second->Show(true);
    EXPECT_EQ(app.GetNumberCommandStatus(cmdToolsWindow), kCommandChecked);
    app.HandleNumberCommand(cmdToolsWindow, nullptr);
    EXPECT_FALSE(tools->IsVisible());
    EXPECT_EQ(app.GetNumberCommandStatus(cmdToolsWindow), kCommandEnabled);
    EXPECT_EQ(app.GetNumberCommandStatus(cmdSecondWindow), kCommandChecked);
    app.HandleNumberCommand(cmdSecondWindow, nullptr);
    EXPECT_FALSE(second->IsVisible());
    app.HandleNumberCommand(cmdSecondWindow, nullptr);
    EXPECT_TRUE(second->IsVisible());
    gApplication->ReleaseWindows();
  });
  tools = nullptr;
  second = nullptr;
}

TEST_F(EngineAppTest, AStartUpCheckAnsweredCancelMakesNoApplication) {
  platform::SetAvailableMemoryForTesting(2000000);
  AlertRecorder recorder;
  recorder.Answer({IDCANCEL});
  EXPECT_FALSE(RunEngineProgram([] {}));
  EXPECT_FALSE(gApplication);
  ASSERT_EQ(recorder.Alerts().size(), 1u);
  EXPECT_EQ(recorder.Alerts()[0].text, NumberedText(401));
}

TEST_F(EngineAppTest, LeavingAPageAsksOnlyWhenThereIsOneToSave) {
  AlertRecorder recorder;
  InEngineProgram([&] {
    EXPECT_TRUE(engineApp->ConfirmLeaveDocument()) << "no page window: nothing to lose";
    EXPECT_TRUE(ConfirmLeaveDocument()) << "the player's hook asks the application";
    EXPECT_TRUE(recorder.Alerts().empty());
    CHAApp& app = *engineApp;
    app.CHAApp::NewDocument();
    auto* window = CastSmart<DocWindow>(~gApplication->FrontWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(app.ConfirmLeaveDocument()) << "an unmodified page";
    window->Changed(nullptr);
    recorder.Answer({IDCANCEL});
    EXPECT_FALSE(ConfirmLeaveDocument());
    EXPECT_EQ(recorder.Alerts().size(), 1u);
  });
}

TEST_F(EngineAppTest, TheIdlerDropsRequestsItDoesNotOpen) {
  InEngineProgram([&] {
    CHAApp& app = *engineApp;
    app.CHAApp::NewDocument();
    CPanePlay* pane = PlayPaneOf(CastSmart<DocWindow>(~gApplication->FrontWindow()));
    ASSERT_NE(pane, nullptr);
    app.SetActivePane(pane);
    const std::int32_t windows = gApplication->GetWindows().NumItems();
    CPlayer* player = pane->GetPlayer();
    String text("texte");
    player->QueueText(CPlayer::kSpriteRequest, &text);
    player->QueueText(CPlayer::kLabelRequest, &text);
    player->QueueText(CPlayer::kTextRequest, &text);
    for (std::int32_t left = 2; left >= 0; --left) {
      app.IdlerFired(app.GetIdler());
      EXPECT_EQ(player->NumRequests(), left);
    }
    EXPECT_EQ(gApplication->GetWindows().NumItems(), windows);
    EXPECT_EQ(app.GetActivePane(), pane);
  });
}

TEST_F(EngineAppTest, PagesFillingTheMainAreaAreCentredOnIt) {
  InEngineProgram([&] {
    engineApp->fillMainArea = true;
    Rect area;
    LFWDecorator::Get().AlignRect(area, LFWDecorator::kFill, LFWDecorator::kFill, false);
    Rect centred = defaultMovieBounds;
    centred.CenterOn(area);
    // The sprites move by the difference between the group's corner and the centred one, or not at all.
    struct Case {
      Rect bounds;
      Point shift;
    } cases[] = {{defaultMovieBounds, {centred.left, centred.top}}, {centred, {0, 0}}};
    for (const Case& c : cases) {
      SmartRef<CMovieGroup> group(new CMovieGroup(c.bounds));
      CSprite* sprite = AddSprite(*group, *SolidPicture(40, 30, 6), 0, 1);
      PlaceAt(*sprite, 0, {10, 20});
      SmartRef<Smart> page(new CShow(~group, false));
      SmartRef<Smart> window;
      engineApp->OpenDocument(&window, page, nullptr);
      ASSERT_TRUE(window);
      EXPECT_EQ(CastSmart<Window>(~window)->GetFrame()->GetGlobalBounds(), area);
      Rect placed;
      sprite->GetFrameGeometry(0, &placed, nullptr);
      EXPECT_EQ(placed.left, 10 + c.shift.x);
      EXPECT_EQ(placed.top, 20 + c.shift.y);
    }
  });
}
