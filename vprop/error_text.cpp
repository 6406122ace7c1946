// What the error slot's codes mean, and the last file problem.
#include <string>

#include "common/text.h"
#include "platform/file_error.h"
#include "vesta/vprop.h"

namespace {

struct CodeText {
  unsigned int code;
  const char* text;
};

constexpr CodeText kCodeTexts[] = {
    {kFFErrorNone, "nothing was loaded, saved, written or read yet"},
    {kFFErrorGeneral, "the operation was started; a read stopped because a callback refused a record"},
    {kFFErrorRoomOpenRead, "the room file cannot be opened for reading"},
    {kFFErrorRoomOpenAppend, "the room file cannot be opened for appending"},
    {kFFErrorItemOpenRead, "the item file cannot be opened for reading"},
    {kFFErrorItemOpenAppend, "the item file cannot be opened for appending"},
    {kFFErrorReadClean, "the read met nothing wrong (with result 0: no complete record was found)"},
    {kFFErrorLengthNotClosed, "a field's length is not closed by \"]\"; the rest of its line was dropped"},
    {kFFErrorLengthTooLarge, "a field's declared length is 266 or more; the rest of its line was dropped"},
    {kFFErrorNoLengthBracket, "a tag is not followed by \"[\"; the rest of its line was dropped"},
    {kFFErrorNotAField, "text that is not a field of the record was met; the rest of its line was dropped"},
    {kFFErrorRecordCut, "a record cut short was skipped"},
    {kFFErrorWriteFailed, "a record could not be written whole; nothing of it was kept"},
    {kFFErrorValueCut, "a text was cut to fit the file's line of 266 characters"},
    {kFFErrorWorldOpenRead, "the world file cannot be opened for reading"},
    {kFFErrorWorldOpenAppend, "the world file cannot be opened for appending"},
};

}  // namespace

const char* FFErrorText(unsigned int code) {
  for (const CodeText& entry : kCodeTexts) {
    if (entry.code == code) return entry.text;
  }
  return "an unknown code";
}

int FFGetLastFileProblem(char* out, int size) {
  const std::string problem = vesta::platform::DescribeLastFileError();
  if (out != nullptr && size > 0) VUCopyN(out, problem.c_str(), size - 1);
  return problem.empty() ? 0 : 1;
}
