#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"

namespace {

std::string Text(const String& text) {
  TextLock lock(text);
  return std::string(lock.Chars() ? lock.Chars() : "", static_cast<std::size_t>(lock.Length()));
}

std::vector<std::string> Texts(const List& list) {
  std::vector<std::string> texts;
  for (std::int32_t n = 1; n <= list.NumItems(); ++n)
    texts.push_back(Text(*static_cast<String*>(CastSmart(list.At(n), &String::classInfo))));
  return texts;
}

class Recorder : public ModelObserver {
 public:
  void Changed(const StringChange* change) override { changes.push_back(*change); }
  std::vector<StringChange> changes;
};

TEST(String, Find) {
  const String abcb("abcb");
  struct Case {
    const char* pattern;
    std::int32_t start;
    int direction;
    std::int32_t found;
  } cases[] = {
      {"", 1, String::kForward, 0},   {"abcbx", 1, String::kForward, 0}, {"b", 1, String::kForward, 2},
      {"b", 3, String::kForward, 4},  {"b", 4, String::kBackward, 4},    {"b", 3, String::kBackward, 2},
      {"cb", 3, String::kBackward, 0}, {"cb", 4, String::kBackward, 3},  {"abcb", 1, String::kForward, 1},
      {"bc", 3, String::kForward, 0}, {"b", 0, String::kForward, 2},     {"b", 9, String::kBackward, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " from " + std::to_string(c.start));
    EXPECT_EQ(abcb.Find(String(c.pattern), c.start, c.direction), c.found);
  }
  EXPECT_EQ(RaisedText(Raised([&] { abcb.Find(String("b"), 1, 2); })), "Unknown direction in String::Find");
}

// Each operation on its text: the resulting text and what the observers are told.
TEST(String, ChangesAndTheirNotices) {
  struct Case {
    const char* name;
    const char* before;
    std::function<void(String&)> change;
    const char* after;
    std::vector<StringChange> told;
  } cases[] = {
      {"insert at front", "cd", [](String& s) { s.Insert("ab", 0, 2); }, "abcd", {{1, 0, 2}}},
      {"insert inside", "ad", [](String& s) { s.Insert("bc", 1, 2); }, "abcd", {{2, 0, 2}}},
      {"insert nothing", "ab", [](String& s) { s.Insert("x", 1, 0); }, "ab", {}},
      {"append", "ab", [](String& s) { s.Append("c"); }, "abc", {{3, 0, 1}}},
      {"append itself", "ab", [](String& s) { s.Append(s); }, "abab", {{3, 0, 2}}},
      {"set same text", "ab", [](String& s) { s.Set("ab"); }, "ab", {{1, 0, 2}}},
      {"set empty", "ab", [](String& s) { s.Set(""); }, "", {}},
      {"clear", "abc", [](String& s) { s.Clear(); }, "", {{1, 3, -3}}},
      {"clear empty", "", [](String& s) { s.Clear(); }, "", {{1, 0, 0}}},
      {"assign", "abc", [](String& s) { s = String("xy"); }, "xy", {{1, 2, -1}}},
      {"assign itself", "abc", [](String& s) { s = s; }, "abc", {}},
      {"copy from", "abc", [](String& s) {
         String source("wxyz");
         s.CopyFrom(&source);
       }, "wxyz", {{1, 4, 1}}},
      {"set number", "abc", [](String& s) { s.SetNumber(-12); }, "-12", {}},
      {"replace grows", "aaa", [](String& s) { s.ReplaceAll(String("a"), String("aa")); }, "aaaaaa", {{1, 3, 3}}},
      {"replace shrinks", "xabyab", [](String& s) { s.ReplaceAll(String("ab"), String("c")); }, "xcyc",
       {{2, 5, -2}}},
      {"replace none", "abc", [](String& s) { s.ReplaceAll(String("z"), String("y")); }, "abc", {}},
      {"replace empty pattern", "abc", [](String& s) { s.ReplaceAll(String(""), String("y")); }, "abc", {}},
      {"replace by itself", "abc", [](String& s) { s.ReplaceAll(s, String("x")); }, "x", {{1, 3, -2}}},
      {"token", "  ab, cd", [](String& s) { EXPECT_EQ(Text(*s.NextToken(String(" ,"))), "ab"); }, "cd",
       {{1, 8, -6}}},
      {"token of delimiters", " ,", [](String& s) { EXPECT_EQ(Text(*s.NextToken(String(" ,"))), ""); }, "",
       {{1, 2, -2}}},
      {"last token", "cd", [](String& s) { EXPECT_EQ(Text(*s.NextToken(String(" ,"))), "cd"); }, "",
       {{1, 2, -2}}},
      {"token of empty", "", [](String& s) { EXPECT_EQ(Text(*s.NextToken(String(" "))), ""); }, "", {}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    String text(c.before);
    Recorder recorder;
    text.ToggleObserver(&recorder);
    c.change(text);
    EXPECT_EQ(Text(text), c.after);
    EXPECT_EQ(recorder.changes, c.told);
  }
}

// A watcher that, on hearing of a change, takes itself and another watcher off the string (a window
// closing its views): the other one, gone, must hear nothing more.
class Closer : public ModelObserver {
 public:
  Closer(String& text, ModelObserver& other) : text(text), other(other) {}
  void Changed(const StringChange*) override {
    text.ToggleObserver(&other);
    text.ToggleObserver(this);
  }

 private:
  String& text;
  ModelObserver& other;
};

TEST(String, WatchersTakenOffDuringANoticeHearNoMore) {
  String text("ab");
  Recorder first;
  Closer closer(text, first);
  text.ToggleObserver(&first);
  text.ToggleObserver(&closer);
  text.Append("c");
  EXPECT_TRUE(first.changes.empty());
  text.Append("d");
  EXPECT_TRUE(first.changes.empty());
}

TEST(String, ReadingOperations) {
  char buffer[8];
  String six("abcdef");
  six.CopyTo(buffer, 1);
  EXPECT_STREQ(buffer, "");
  six.CopyTo(buffer, 5);
  EXPECT_STREQ(buffer, "abcd");

  struct NumberCase {
    const char* text;
    bool ok;
    int value;
  } numbers[] = {{"  -12x", true, -12},           {"abc", false, 0},        {"", false, 0},
                 {"0000000000000012345", true, 1}, {"99999999999", false, 0}, {"2147483647", true, 2147483647}};
  for (const NumberCase& c : numbers) {
    SCOPED_TRACE(c.text);
    int value = 7;
    EXPECT_EQ(String(c.text).ToNumber(&value), c.ok);
    EXPECT_EQ(value, c.value);
  }

  struct LinesCase {
    const char* text;
    std::int32_t count;
    std::vector<std::string> lines;
  } lines[] = {
      {"", 1, {}},           {"a\rb", 2, {"a", "b"}},       {"a\r", 2, {"a"}},
      {"a\r\rb", 3, {"a"}},  {"a\r\nb", 2, {"a", "b"}},     {"ab\r\ncd\r\n", 3, {"ab", "cd"}},
  };
  for (const LinesCase& c : lines) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(String(c.text).CountLines(), c.count);
    EXPECT_EQ(Texts(String(c.text).SplitLines()), c.lines);
  }

  struct SplitCase {
    const char* text;
    std::vector<std::string> pieces;
  } splits[] = {{"|a||b|", {"a", "b"}}, {"|", {"|"}}, {"", {""}}, {"a|b", {"a", "b"}}, {"ab", {"ab"}}};
  for (const SplitCase& c : splits) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Texts(String(c.text).Split('|')), c.pieces);
  }

  EXPECT_EQ(Text(String(String(""), 1, 0)), "");
  EXPECT_EQ(Text(String(six, 2, 3)), "bcd");
  const SmartRef<Exception> raised = Raised([&] { String(six, 0, 1); });
  EXPECT_EQ(RaisedText(raised), "from > 0");
  EXPECT_EQ(RaisedPlace(raised), "xstring:77");
  EXPECT_EQ(RaisedText(Raised([&] { String(six, 5, 3); })), "from+num-1 <= oldLength");
  EXPECT_EQ(RaisedText(Raised([&] { six.Insert("x", 7, 1); })), "Range error");
  EXPECT_EQ(Text(String("ab") + String("cd")), "abcd");
  EXPECT_EQ(Text(String(-5)), "-5");
  EXPECT_TRUE(String("ab") == String("ab"));
  EXPECT_TRUE(String("ab") != String("abc"));
}

TEST(String, AlertShowsAtMost255Characters) {
  AlertRecorder alerts;
  String(std::string(300, 'x').c_str()).Alert(kAlertInformation, kButtonsOK);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, std::string(255, 'x'));
}

TEST(String, ClipboardAndStreamOutput) {
  String text("Été"_cp);
  SmartRef<GenericArray> types = text.GetScrapTypes();
  ASSERT_EQ(types->NumItems(), 1);
  EXPECT_EQ(*static_cast<std::uint32_t*>(types->At(1)), 0x54455854u);
  Memory* data = text.GetScrapData(0x54455854);
  ASSERT_EQ(data->GetSize(), 4u);
  EXPECT_STREQ(reinterpret_cast<char*>(data->GetData()), "Été"_cp);
  const SmartRef<Exception> raised = Raised([&] { text.GetScrapData(0x50494354); });
  EXPECT_EQ(RaisedText(raised), "type == osType");
  EXPECT_EQ(RaisedPlace(raised), "xstring:720");

  MemoryStream stream;
  stream << text << String("!");
  EXPECT_EQ(stream.GetLength(), 4u);
}

}  // namespace
