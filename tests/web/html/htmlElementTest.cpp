#include <gtest/gtest.h>

#include "../PageTestSupport.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "support/Raised.h"
#include "web/html/htmlElement.h"

namespace {

using web_test::PageTest;

std::string Bytes(MemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.GetMemory().GetData()), stream.GetLength());
}

TEST(SanitizeHTMLName, KeepsDigitsAndAsciiLettersOnlyAndTheLength) {
  struct Case {
    std::string name, sanitized;
  } cases[] = {
      {"Ma page \xE9t\xE9", "Ma_page__t_"},        // accents and blanks
      {"Q&A?", "Q_A_"},                            // '?' would start a query in a link
      {":;<=>?@", "_______"},                      // everything between '9' and 'A'
      {"[\\]^_`{|}~", "__________"},               // and around the lower-case letters
      {"Page09AZaz", "Page09AZaz"},                // what stays
      {"\x80\xFF\x01", "___"},                     // high and control bytes
      {"", ""},
      {"a/b\\..\\c", "a_b____c"},                  // no path can come out of a name
  };
  for (const Case& c : cases) {
    const String sanitized = SanitizeHTMLName(String(c.name.c_str()));
    EXPECT_EQ(TextOf(sanitized), c.sanitized) << c.name;
  }
}

TEST(WriteEscapedHTML, TurnsMarkupCharactersIntoEntitiesAndKeepsOtherBytes) {
  SmartRef<MemoryStream> out = new MemoryStream();
  WriteEscapedHTML(*out, String("a\"b <i>x</i> & caf\xE9"));
  EXPECT_EQ(Bytes(*out), "a&quot;b &lt;i&gt;x&lt;/i&gt; &amp; caf\xE9");
}

TEST_F(PageTest, RawTextIsEmittedVerbatimAndWrappersEmitTheirChildrenInOrder) {
  List children(&htmlElement::classInfo);
  children.AppendRef(SmartRef<RawHTML>(new RawHTML(String("<P>un</P>"))));
  children.AppendRef(SmartRef<RawHTML>(new RawHTML(String("&deux\n"))));
  SmartRef<htmlWrapper> wrapper = new htmlWrapper(children);
  // The wrapper shares the list: a child added afterwards is emitted too.
  children.AppendRef(SmartRef<RawHTML>(new RawHTML(String("<B>trois</B>"))));
  SmartRef<MemoryStream> out = new MemoryStream();
  wrapper->Emit(output, String("B"), files, *out);
  EXPECT_EQ(Bytes(*out), "<P>un</P>&deux\n<B>trois</B>");
  EXPECT_EQ(files.NumItems(), 0);
}

TEST_F(PageTest, CopiesShareTheWrappersListAndCopyRawText) {
  List children(&htmlElement::classInfo);
  SmartRef<htmlWrapper> wrapper = new htmlWrapper(children);
  SmartRef<htmlWrapper> copy = CastSmart<htmlWrapper>(wrapper->Clone());
  EXPECT_EQ(copy->GetChildren().GetData(), children.GetData());

  SmartRef<RawHTML> raw = new RawHTML(String("x"));
  SmartRef<RawHTML> other = new RawHTML(String("y"));
  other->CopyFrom(~raw);
  SmartRef<MemoryStream> out = new MemoryStream();
  other->Emit(output, String("B"), files, *out);
  EXPECT_EQ(Bytes(*out), "x");
  EXPECT_FALSE(raw->CanCopyFrom(~wrapper));
  EXPECT_NE(Raised([&] { raw->CopyFrom(~wrapper); }), nullptr);
}

}  // namespace
