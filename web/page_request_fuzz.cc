// Fuzzes the page's requests: an input is a sequence of requests separated
// by NUL bytes, each its JSON text and then, after a byte 0x01, its payload.
// Every request is answered by a value, never an exception (the module has
// no way to catch one), and every answer is a JSON object whose downloads
// lie within its attachments.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string_view>

#include "web/page_request.h"
#include "web/page_session.h"

namespace talvik {
namespace {

void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "page_request_fuzz: %s\n", what);
  std::abort();
}

void checkAnswer(const PageResponse& response) {
  const nlohmann::json json =
      nlohmann::json::parse(response.json, nullptr, false);
  check(!json.is_discarded() && json.is_object(), "an answer is no object");
  const auto downloads = json.find("downloads");
  if (downloads == json.end()) return;
  for (const nlohmann::json& download : *downloads) {
    const auto offset = download.at("offset").get<std::size_t>();
    const auto length = download.at("length").get<std::size_t>();
    check(offset <= response.attachments.size() &&
              length <= response.attachments.size() - offset,
          "a download beyond the attachments");
  }
}

}  // namespace
}  // namespace talvik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  talvik::PageSession session;
  while (!input.empty()) {
    const std::size_t end = std::min(input.find('\0'), input.size());
    std::string_view request = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));
    const std::size_t mark = std::min(request.find('\1'), request.size());
    const std::string_view payload =
        request.substr(std::min(mark + 1, request.size()));
    const talvik::ReadRequest read =
        talvik::readPageRequest(request.substr(0, mark));
    talvik::checkAnswer(read.error.empty()
                            ? session.handle(read.request, payload)
                            : talvik::PageSession::refusal(read.error));
  }
  return 0;
}
