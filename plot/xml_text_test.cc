#include "plot/xml_text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace talvik {
namespace {

TEST(XmlText, EscapesMarkupAndReplacesWhatXmlCannotHold) {
  struct Case {
    std::string_view text;
    std::string_view expected;
  };
  const Case cases[] = {
      {"sites37.csv", "sites37.csv"},
      {"a&b<c>d\"e'f.csv", "a&amp;b&lt;c&gt;d&quot;e&apos;f.csv"},
      {"&amp;", "&amp;amp;"},
      {"caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x97\xBA.csv",
       "caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x97\xBA.csv"},
      {"bell\x07.csv", "bell\xEF\xBF\xBD.csv"},
      {"latin1 \xE9t\xE9", "latin1 \xEF\xBF\xBDt\xEF\xBF\xBD"},
      {"cut \xE6\x97", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate \xED\xA0\x80",
       "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"nonchar \xEF\xBF\xBF", "nonchar \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"beyond \xF4\x90\x80\x80",
       "beyond \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"tab\tkept", "tab\tkept"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(escapeXml(c.text), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace talvik
