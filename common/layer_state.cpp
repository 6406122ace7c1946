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

}  // namespace vesta::common
