// The delete-page window in the running program over a project of the test's own: its layout, deleting
// pages with real clicks, and the one synchronisation after it has closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelWindow.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Text1252.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/MessageBox.h"
#include "ui/controls/GraphicButton.h"
#include "ui/dialogs/Dialog.h"
#include "ui/text/TextView.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

constexpr int kHeadingWidth = 300;
constexpr int kHeadingHeight = 60;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 30;
const char* const kSynchronizing = "Synchronisation des fichiers Internet"_cp;

// The synchronisations that opened a progress range, each with its range and whether the delete-page
// window was still up at that moment.
struct Synchronisation {
  std::uint32_t range = 0;
  bool windowStillUp = false;
};
std::vector<Synchronisation>* gSynchronisations = nullptr;
Dialog* gDeleteWindow = nullptr;

class RangeDisplay : public SilentProgressDisplay {
 public:
  explicit RangeDisplay(std::size_t index) : index(index) {}
  void SetProgress(std::uint32_t, std::uint32_t total) override {
    if ((*gSynchronisations)[index].range == 0) (*gSynchronisations)[index].range = total;
  }

 private:
  std::size_t index;
};

SmartRef<ProgressDisplay> MakeRangeDisplay(const char* caption) {
  if (std::string(caption) != kSynchronizing) return new SilentProgressDisplay;
  bool up = false;
  for (std::int32_t n = 1; gDeleteWindow && n <= gApplication->GetWindows().NumItems(); ++n)
    up = up || gApplication->GetWindows().At(n) == static_cast<Smart*>(gDeleteWindow);
  gSynchronisations->push_back({0, up});
  return new RangeDisplay(gSynchronisations->size() - 1);
}

// The delete-page window: a dialog holding a page browser pane.
PageBrowserPane* PaneOf(Window* window) {
  auto* dialog = CastSmart<Dialog>(window);
  if (dialog == nullptr) return nullptr;
  const List& views = dialog->GetSubviews();
  for (std::int32_t n = 1; n <= views.NumItems(); ++n)
    if (auto* pane = dynamic_cast<PageBrowserPane*>(CastSmart<View>(views.At(n)))) return pane;
  return nullptr;
}

template <typename T>
T* SubviewOf(Window& window) {
  const List& views = window.GetSubviews();
  for (std::int32_t n = 1; n <= views.NumItems(); ++n)
    if (auto* view = CastSmart<T>(views.At(n))) return view;
  return nullptr;
}

class DeletePageWindowTest : public DromelAppTest {
 protected:
  void SetUp() override {
    DromelAppTest::SetUp();
    WriteAppPicture(803, kHeadingWidth, kHeadingHeight, 0x2060C0);
    WriteAppPicture(710, kButtonWidth, kButtonHeight, 0x20C060);
    WriteAppPicture(711, kButtonWidth, kButtonHeight, 0x106030);
    MakeProject("Site", {{"a", 1000000000}, {"b", 1000000000}, {"c", 1000000000}, {"index", 1000000000}});
  }
  void TearDown() override {
    SetProgressDisplayMaker(previousMaker);
    gSynchronisations = nullptr;
    gDeleteWindow = nullptr;
    DromelAppTest::TearDown();
  }

  static bool DeleteWindowInFront() { return PaneOf(Front()) != nullptr; }
  bool PageExists(const std::string& name) const { return Exists("Projets/Site/" + name + ".zod"); }
  static std::string ShownPage() {
    auto* window = CastSmart<DromelWindow>(Front());
    auto* scribe = window ? CastSmart<DromelScribe>(~window->GetScribe()) : nullptr;
    if (scribe == nullptr || !scribe->GetPageFile()) return "";
    String name;
    scribe->GetPageFile()->GetName(name);
    return TextOf(name);
  }

  // Opens the project, then runs the delete-page mode; `inWindow` runs while the window is up, `after`
  // once the mode has returned.
  void InDeleteMode(const std::function<void(Dialog&, CBrowser&)>& inWindow, const std::function<void()>& after) {
    RunDromel({{&FrontIsWelcome, [] { ChooseProject("Site"); }},
               {&StartupOver,
                [&] {
                  previousMaker = GetProgressDisplayMaker();
                  gSynchronisations = &synchronisations;
                  SetProgressDisplayMaker(&MakeRangeDisplay);
                  gDromelApp->DeletePageMode();
                  after();
                }},
               {&DeleteWindowInFront, [&] {
                  gDeleteWindow = CastSmart<Dialog>(Front());
                  inWindow(*gDeleteWindow, *PaneOf(gDeleteWindow)->GetBrowser());
                }}});
  }

  std::vector<Synchronisation> synchronisations;
  ProgressDisplayMaker previousMaker = nullptr;
};

// The heading across the top, the hint below it, the browser over the page area's backdrop, and the
// closing button centred under it; the window is its content with 10 more pixels of height.
TEST_F(DeletePageWindowTest, LayoutFollowsTheHeadingPicture) {
  std::vector<Rect> rects;
  std::string hint;
  Point size;
  InDeleteMode(
      [&](Dialog& window, CBrowser& browser) {
        size = window.GetBounds().Size();
        rects.push_back(PaneOf(&window)->GetBounds());
        auto* button = SubviewOf<GraphicPushButton>(window);
        ASSERT_NE(button, nullptr);
        rects.push_back(button->GetBounds());
        auto* field = SubviewOf<TextView>(window);
        ASSERT_NE(field, nullptr);
        rects.push_back(field->GetBounds());
        String text;
        field->GetText(&text);
        hint = TextOf(text);
        EXPECT_EQ(browser.NumItems(), 4) << "every page of the project";
        EXPECT_EQ(browser.GetToolId(), kBrowseDeletePage);
        EXPECT_EQ(browser.CellRect(1).Width(), 64);
        EXPECT_EQ(browser.CellRect(1).Height(), 48);
        platform::InjectKey(VK_ESCAPE, true);
        platform::InjectKey(VK_ESCAPE, false);
      },
      [] {});
  const int h = kHeadingHeight;
  const int buttonLeft = 10 + (kHeadingWidth - 20 - kButtonWidth) / 2;
  EXPECT_EQ(rects, (std::vector<Rect>{{10, h + 31, kHeadingWidth - 10, h + 281},
                                      {buttonLeft, h + 291, buttonLeft + kButtonWidth, h + 291 + kButtonHeight},
                                      {10, h + 5, kHeadingWidth - 10, h + 26}}));
  EXPECT_EQ(hint, "Clique sur une page pour la supprimer");
  EXPECT_EQ(size, Point(kHeadingWidth, h + 291 + kButtonHeight + 10));
  EXPECT_TRUE(alerts.Alerts().empty());
}

// However many pages go, the project is synchronised once, after the window has closed; a window closed
// without a deletion (or with the question answered Cancel) synchronises nothing.
struct DeleteCase {
  const char* name;
  std::int32_t cell;           // clicked once for each answer
  std::vector<int> answers;    // to the deletion questions
  bool closeByButton;          // else Esc
  std::vector<std::string> left;
  std::size_t synchronisations;
  std::size_t alertCount;      // the questions, and the failures
};

void PrintTo(const DeleteCase& c, std::ostream* out) { *out << c.name; }

class DeleteCaseTest : public DeletePageWindowTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteCaseTest, SynchronisesOnceWhenAPageWent) {
  const DeleteCase& c = GetParam();
  std::string shownAfter;
  InDeleteMode(
      [&](Dialog& window, CBrowser& browser) {
        for (int answer : c.answers) alerts.Answer({answer});
        for (std::size_t n = 0; n < c.answers.size(); ++n) ClickAt(window, browser.CellRect(c.cell).Center());
        if (c.closeByButton) {
          ClickAt(window, SubviewOf<GraphicPushButton>(window)->GetBounds().Center());
        } else {
          platform::InjectKey(VK_ESCAPE, true);
          platform::InjectKey(VK_ESCAPE, false);
        }
      },
      [&] { shownAfter = ShownPage(); });
  std::vector<std::string> left;
  for (const char* page : {"a", "b", "c", "index"})
    if (PageExists(page)) left.push_back(page);
  EXPECT_EQ(left, c.left);
  ASSERT_EQ(synchronisations.size(), c.synchronisations);
  for (const Synchronisation& done : synchronisations) {
    EXPECT_FALSE(done.windowStillUp);
    EXPECT_EQ(done.range, c.left.size()) << "the pages left";
  }
  EXPECT_EQ(shownAfter, "index.zod") << "the page in front before";
  EXPECT_EQ(alerts.Alerts().size(), c.alertCount);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteCaseTest,
    testing::Values(DeleteCase{"TwoDeleted", 1, {IDOK, IDOK}, true, {"c", "index"}, 1, 2},
                    DeleteCase{"OneDeletedClosedByEsc", 1, {IDOK}, false, {"b", "c", "index"}, 1, 1},
                    DeleteCase{"NoneAsked", 1, {}, true, {"a", "b", "c", "index"}, 0, 0},
                    DeleteCase{"QuestionCancelled", 1, {IDCANCEL}, false, {"a", "b", "c", "index"}, 0, 1},
                    // The page on show is open: the browser says it cannot go.
                    DeleteCase{"PageInFrontRefused", 4, {IDOK}, true, {"a", "b", "c", "index"}, 0, 2}),
    [](const testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

// A missing picture ends the mode before its window opens: the set's message, and nothing synchronised.
TEST_F(DeletePageWindowTest, AMissingPictureOpensNothing) {
  fs::remove(data->folder.Path() / "Data" / "1711.bmp");
  bool raised = false;
  RunDromel({{&FrontIsWelcome, [] { ChooseProject("Site"); }},
             {&StartupOver, [&] {
                previousMaker = GetProgressDisplayMaker();
                gSynchronisations = &synchronisations;
                SetProgressDisplayMaker(&MakeRangeDisplay);
                try {
                  gDromelApp->DeletePageMode();
                } catch (Exception* failure) {
                  const SmartRef<Exception> caught(failure);
                  raised = true;
                }
                EXPECT_FALSE(DeleteWindowInFront());
              }}});
  EXPECT_TRUE(raised);
  EXPECT_TRUE(synchronisations.empty());
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_NE(alerts.Alerts()[0].text.find("ResID=1711"), std::string::npos) << alerts.Alerts()[0].text;
}

}  // namespace
}  // namespace app_test
