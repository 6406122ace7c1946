// Stands in for the desktop's document opener in tests, so that no test
// starts a browser: records what would have been opened and answers as told.
#ifndef VESTA_VSETU_SERVICES_TEST_OPENER_H
#define VESTA_VSETU_SERVICES_TEST_OPENER_H

#include <string>
#include <vector>

#include "actions/document_opener.h"

namespace vesta::testing {

class RecordingOpener {
 public:
  RecordingOpener() { before_ = VUSetDocumentOpener(&Open); }
  ~RecordingOpener() { VUSetDocumentOpener(before_); }
  RecordingOpener(const RecordingOpener&) = delete;
  RecordingOpener& operator=(const RecordingOpener&) = delete;

  // What was opened, in order; the answer the next openings get.
  static std::vector<std::string>& Opened() {
    static std::vector<std::string> opened;
    return opened;
  }
  static bool& Answer() {
    static bool answer = true;
    return answer;
  }

 private:
  static bool Open(const char* target) {
    Opened().push_back(target);
    return Answer();
  }

  VUDocumentOpener before_ = nullptr;
};

}  // namespace vesta::testing

#endif
