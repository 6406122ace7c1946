#include "common/layer_state.h"

namespace vesta::common {

CopyRecords& Copies() {
  static CopyRecords records;
  return records;
}

PathTokens& Tokens() {
  static PathTokens tokens;
  return tokens;
}

std::unordered_set<std::string>& ShapesDone() {
  static std::unordered_set<std::string> done;
  return done;
}

}  // namespace vesta::common
