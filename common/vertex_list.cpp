#include "common/vertex_list.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "common/numbers.h"

int VUVertexListAdd(VUList** list, const float vertex[3]) {
  if (list == nullptr || vertex == nullptr) return 0;
  float* copy = static_cast<float*>(std::malloc(3 * sizeof(float)));
  if (copy == nullptr) return 0;
  std::memcpy(copy, vertex, 3 * sizeof(float));
  bool made = false;
  if (*list == nullptr) {
    VUList* fresh = new (std::nothrow) VUList;
    if (fresh == nullptr) {
      std::free(copy);
      return 0;
    }
    VUListConstruct(fresh);
    VUListPrepare(fresh);
    *list = fresh;
    made = true;
  }
  if (!VUListAdd(*list, copy, 0)) {
    std::free(copy);
    if (made) {
      delete *list;
      *list = nullptr;
    }
    return 0;
  }
  return 1;
}

int VUVertexToText(const float vertex[3], char* out) {
  int n = VUFormatFloat(out, vertex[0]);
  out[n++] = ',';
  n += VUFormatFloat(out + n, vertex[1]);
  out[n++] = ',';
  n += VUFormatFloat(out + n, vertex[2]);
  return n;
}

int VUTextToVertex(const char* text, float out[3]) {
  if (text == nullptr || out == nullptr) return 0;
  float values[3];
  const char* p = text;
  for (int i = 0; i < 3; ++i) {
    // Each value ends at the next comma (the last at the end of the text).
    const char* end = i < 2 ? std::strchr(p, ',') : p + std::strlen(p);
    if (end == nullptr) return 0;
    char piece[64];
    size_t length = static_cast<size_t>(end - p);
    if (length >= sizeof piece) return 0;
    std::memcpy(piece, p, length);
    piece[length] = '\0';
    float value;
    if (!VUParseFloatWhole(piece, &value)) return 0;
    values[i] = value;
    p = end + (i < 2 ? 1 : 0);
  }
  std::memcpy(out, values, sizeof values);
  return 1;
}

int VUNormalise3(float v[3]) {
  if (v == nullptr) return 0;
  double length = std::sqrt(static_cast<double>(v[0]) * v[0] + static_cast<double>(v[1]) * v[1] +
                            static_cast<double>(v[2]) * v[2]);
  if (length == 0.0 || !std::isfinite(length)) return 1;
  for (int i = 0; i < 3; ++i) v[i] = static_cast<float>(v[i] / length);
  return 1;
}
