#include "common/output_buffer.h"

#include <cstring>

#include "platform/file_output.h"

namespace {

void Drain(VUOutput* out) {
  if (out->used == 0) return;
  size_t length = static_cast<size_t>(out->used);
  if (out->failed) {
    // Nothing after a part that failed: a record is whole or stops there.
  } else if (out->text != nullptr) {
    out->text->append(out->buffer, length);
  } else if (!vesta::platform::WriteToStream(out->stream, out->buffer, length)) {
    out->failed = 1;
  }
  out->used = 0;
}

}  // namespace

void VUOutputDrain(VUOutput* out) { Drain(out); }

void VUOutputBegin(VUOutput* out, FILE* stream) {
  out->stream = stream;
  out->text = nullptr;
  out->used = 0;
  out->failed = 0;
}

void VUOutputBeginText(VUOutput* out, std::string* text) {
  VUOutputBegin(out, nullptr);
  out->text = text;
}

void VUOutputWrite(VUOutput* out, const char* data, int length) {
  while (length > 0) {
    if (out->used == static_cast<int>(sizeof out->buffer)) Drain(out);
    int room = static_cast<int>(sizeof out->buffer) - out->used;
    int n = length < room ? length : room;
    std::memcpy(out->buffer + out->used, data, static_cast<size_t>(n));
    out->used += n;
    data += n;
    length -= n;
  }
}

int VUOutputEnd(VUOutput* out) {
  Drain(out);
  return out->failed ? 0 : 1;
}
