#include "session/console/whole_file.h"

#include "session/console/output_file.h"

namespace talvik {

void replaceWholeFile(const std::string& path, std::string_view text) {
  OutputFile output(path, nullptr);
  output.write(text);
  output.finish();
}

}  // namespace talvik
