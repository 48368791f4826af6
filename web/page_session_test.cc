#include "web/page_session.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "web/page_request.h"

namespace talvik {
namespace {

// The valley example of the README: 12 sites.
constexpr char kValley[] =
    "48.0\n45.5\n44.0\n30.2\n12.0\n11.5\n9.0\n7.2\n6.8\n5.5\n4.1\n3.0\n";

// sites37.txt of the examples: 37 sites.
constexpr char kSites37[] =
    "4.6\n25.0\n0.9\n2.4\n12.5\n1.3\n3.8\n0.5\n9.8\n1.8\n2.9\n0.8\n6.5\n"
    "1.1\n5.9\n0.6\n3.1\n2.2\n8.2\n1.5\n0.7\n5.1\n2.6\n1.0\n4.0\n0.4\n"
    "1.9\n3.5\n0.9\n1.6\n2.0\n0.8\n1.4\n0.3\n1.2\n0.6\n0.5\n";

class PageSessionTest : public ::testing::Test {
 protected:
  nlohmann::json ask(const std::string& json, std::string_view payload = {}) {
    const ReadRequest read = readPageRequest(json);
    last_ = read.error.empty() ? session_.handle(read.request, payload)
                               : PageSession::refusal(read.error);
    return nlohmann::json::parse(last_.json);
  }
  std::string attachment(const nlohmann::json& member) const {
    return last_.attachments.substr(member["offset"], member["length"]);
  }

  PageSession session_;
  PageResponse last_;
};

TEST_F(PageSessionTest, TheSentenceReadsTheRangesAsTheReadmeDoes) {
  ask(R"({"command":"read","name":"valley.txt","csv":null})", kValley);
  EXPECT_EQ(ask(R"({"command":"run","seeds":"1234567"})")["analyses"], 1);
  const nlohmann::json analysis = ask(R"({"command":"analyse","index":0})");
  EXPECT_EQ(analysis["ranges"][2]["lower"], "0.003");
  EXPECT_EQ(analysis["sentence"],
            "A = 0.366 for 12 settlements: the curve lies above the "
            "rank-size line (convex). The 90 % range (0.003 to 0.668) leaves "
            "out 0 but the 95 % range (-0.087 to 0.701) holds it: convex at "
            "90 % confidence, not at 95 %.");
  EXPECT_EQ(attachment(analysis["downloads"][0]).substr(0, 47),
            "A =   0.366 for   12 settlements observed.\r\n \r\n");
}

TEST_F(PageSessionTest, AComparisonReadsTheDifferenceAsTheReadmeDoes) {
  ask(R"({"command":"read","name":"sites37.txt","csv":null})", kSites37);
  EXPECT_EQ(ask(R"({"command":"run","seeds":"1","compare":true})")["error"],
            "a comparison needs a reference and at least one file to compare "
            "with it: read two files or more");
  ask(R"({"command":"read","name":"valley.txt","csv":null})", kValley);
  ask(R"({"command":"read","name":"none.txt","csv":null})", "");
  const nlohmann::json run =
      ask(R"({"command":"run","seeds":"1234567","compare":true})");
  EXPECT_EQ(run["analyses"], 2);
  const nlohmann::json valley = ask(R"({"command":"analyse","index":0})");
  EXPECT_EQ(valley["comparison"], true);
  EXPECT_EQ(valley["fileIndex"], 1);
  EXPECT_EQ(valley["reference"], "sites37.txt");
  EXPECT_EQ(valley["settlements"], 12);
  EXPECT_EQ(valley["referenceSettlements"], 37);
  EXPECT_EQ(valley["difference"], "0.269");
  EXPECT_EQ(valley["ranges"][1]["lower"], "-0.324");
  EXPECT_EQ(valley["sentence"],
            "A(valley.txt) - A(sites37.txt) = 0.269: A is higher in "
            "valley.txt than in the reference; the 66 % range (0.014 to "
            "0.536) leaves out 0 but the 80 % range (-0.090 to 0.606) holds "
            "it: they differ at 66 % confidence, not at 80 % (these ranges "
            "are narrower than their levels claim, so read a difference as "
            "clear only at 99 %).");
  const nlohmann::json none = ask(R"({"command":"analyse","index":1})");
  EXPECT_EQ(none["failed"], true);
  EXPECT_FALSE(none.contains("sentence"));
  const nlohmann::json finish = ask(R"({"command":"finish"})");
  ASSERT_EQ(finish["downloads"].size(), 3u);
  EXPECT_EQ(finish["downloads"][2]["name"], "talvik-comparison-chart.svg");
  EXPECT_EQ(attachment(finish["downloads"][0]).substr(0, 5), "file,");
}

TEST_F(PageSessionTest, RequestsOutOfTurnOrOutOfRangeAreRefusedWithAReason) {
  EXPECT_EQ(ask(R"({"command":"analyse","index":0})")["error"],
            "no run has started");
  EXPECT_EQ(ask(R"({"command":"run","seeds":"1"})")["error"],
            "no file has been read");
  EXPECT_EQ(ask(R"({"command":"check","option":"seed","text":"-1"})")["ok"],
            false);
  EXPECT_EQ(ask(R"({"command":"read","name":7})")["error"],
            "\"name\" must be a string");
  EXPECT_EQ(ask(R"({"command":"run","plotLevel":100})")["error"],
            "\"plotLevel\" must be a whole number from 1 to 99");
  EXPECT_EQ(ask(R"([1])")["error"], "a request must be a JSON object");
  ask(R"({"command":"read","name":"a.txt"})", "5\n4\n");
  EXPECT_NE(ask(R"({"command":"run","seeds":"1..0"})")["error"], nullptr);
  ask(R"({"command":"run","seeds":"7"})");
  EXPECT_EQ(ask(R"({"command":"analyse","index":1})")["error"],
            "analyses are run once each, in order: the next is 0");
  EXPECT_EQ(ask(R"({"command":"finish"})")["error"],
            "the run's analyses are not all done");
}

TEST_F(PageSessionTest, CsvExportsOfferTheirColumnsAndNameTheirFaults) {
  const std::string export_ = "Ort;Einwohner\nA;1.234,5\nB;NA\nC;17\n";
  EXPECT_EQ(
      ask(R"({"command":"columns","separator":";"})", export_),
      nlohmann::json::parse(R"({"columns":["Ort","Einwohner"],"more":false})"));
  EXPECT_EQ(ask(R"({"command":"columns"})", "")["error"],
            "the file has no rows");
  const nlohmann::json read =
      ask(R"({"command":"read","name":"<b>.csv","csv":{"separator":";",)"
          R"("decimalComma":true,"column":"einwohner"}})",
          export_);
  EXPECT_EQ(read["settlements"], 2);
  EXPECT_EQ(read["messages"],
            "<b>.csv:3: warning: no size in column 2 (\"einwohner\"): "
            "\"NA\" marks a missing value\n");
  EXPECT_EQ(ask(R"({"command":"read","name":"x.csv","csv":{"column":"Area"}})",
                export_)["failed"],
            true);
}

}  // namespace
}  // namespace talvik
