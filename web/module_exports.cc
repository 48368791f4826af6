// The WebAssembly module's entry points, the only functions the page calls:
// it writes a request into the module's memory, asks for it to be handled,
// and reads the response from there.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "web/page_request.h"
#include "web/page_session.h"

namespace {

talvik::PageSession& session() {
  static talvik::PageSession pageSession;
  return pageSession;
}

std::vector<char>& request() {
  static std::vector<char> bytes;
  return bytes;
}

talvik::PageResponse& response() {
  static talvik::PageResponse answer;
  return answer;
}

// The response's JSON and attachments side by side, as the page reads them.
std::string& responseBytes() {
  static std::string bytes;
  return bytes;
}

}  // namespace

extern "C" {

// Room for a request of `size` bytes: its JSON text, then its payload.
char* talvik_request(std::size_t size) {
  request().assign(size, '\0');
  return request().data();
}

// Handles the request whose JSON is the first `jsonBytes` bytes; returns
// the size of the response.
std::size_t talvik_handle(std::size_t jsonBytes) {
  const std::vector<char>& bytes = request();
  talvik::PageResponse& answer = response();
  if (jsonBytes > bytes.size()) {
    answer = {"{\"error\":\"the request is shorter than its JSON\"}", {}};
  } else {
    const std::string_view json(bytes.data(), jsonBytes);
    const std::string_view payload(bytes.data() + jsonBytes,
                                   bytes.size() - jsonBytes);
    const talvik::ReadRequest read = talvik::readPageRequest(json);
    if (read.error.empty()) {
      answer = session().handle(read.request, payload);
    } else {
      answer = talvik::PageSession::refusal(read.error);
    }
  }
  responseBytes() = answer.json + answer.attachments;
  return responseBytes().size();
}

const char* talvik_response() { return responseBytes().data(); }

std::size_t talvik_response_json() { return response().json.size(); }

}  // extern "C"
