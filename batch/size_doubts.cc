#include "batch/size_doubts.h"

namespace talvik {

std::string doubtMessage(SizeFileDoubt::Kind kind) {
  using Kind = SizeFileDoubt::Kind;
  switch (kind) {
    case Kind::kThousandsSeparator:
      return "a comma and three digits follow the value: the size is the "
             "number before the comma (a thousands separator?)";
    case Kind::kTextAfterValue:
      return "text after the value is not read";
    case Kind::kWordAsValue:
      return "a word read as infinity or not-a-number (a heading?)";
    case Kind::kEmptyValue:
      return "a line starting with a comma or slash is a settlement of size "
             "0, which makes A minus infinity";
    case Kind::kRepeatCount:
      return "a repeat count \"r*v\" gives one size v, not r of them";
    case Kind::kNotPositive:
      return "a size of zero or less is a settlement of size 0, which makes "
             "A minus infinity";
  }
  return {};
}

std::string beyondSinglePrecisionMessage() {
  return "a number beyond the single-precision range (about 3.4E38) is read "
         "as infinity";
}

std::string doubtMessage(const LineDoubt& doubt, bool positiveOnly) {
  if (!doubt.text.empty()) return doubt.text;
  if (!doubt.kind) return beyondSinglePrecisionMessage();
  if (positiveOnly && *doubt.kind == SizeFileDoubt::Kind::kEmptyValue) {
    return "a line starting with a comma or slash is a size of 0, left out "
           "(--positive-only)";
  }
  return doubtMessage(*doubt.kind);
}

}  // namespace talvik
