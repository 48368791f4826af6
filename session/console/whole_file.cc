#include "session/console/whole_file.h"

#include "session/console/output_file.h"
#include "session/console/system_file.h"

namespace talvik {

void replaceWholeFile(const std::string& path, std::string_view text) {
  OutputFile output(path, nullptr);
  output.write(text);
  output.finish();
}

bool isSameFile(const std::string& first, const std::string& second) {
  const std::optional<FileFacts> facts = fileFactsAt(first);
  if (!facts || !facts->isRegular || !facts->identity) return false;
  const std::optional<FileFacts> others = fileFactsAt(second);
  return others && others->identity == facts->identity;
}

}  // namespace talvik
