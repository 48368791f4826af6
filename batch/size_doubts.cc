#include "batch/size_doubts.h"

namespace talvik {

std::string doubtMessage(SizeDoubt doubt) {
  switch (doubt) {
    case SizeDoubt::kZeroOrLess:
      return "a size of zero or less counts as a settlement of size 0, which "
             "makes A minus infinity";
  }
  return {};
}

}  // namespace talvik
