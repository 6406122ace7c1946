#include "programs/vesta/terminal.h"

#include <cstdio>

#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

// A code-page text in UTF-8: each byte takes at most three.
std::string Utf8(const std::string& text) {
  std::string out(text.size() * 3 + 1, '\0');
  if (!VSCodePageToUtf8(text.c_str(), out.data(), static_cast<int>(out.size()))) return text;
  out.resize(std::char_traits<char>::length(out.c_str()));
  return out;
}

nlohmann::json InUtf8(const nlohmann::json& value) {
  // Documents are the program's own, a few levels deep.
  if (value.is_string()) return Utf8(value.get<std::string>());
  if (value.is_array()) {
    nlohmann::json array = nlohmann::json::array();
    for (const nlohmann::json& element : value) array.push_back(InUtf8(element));
    return array;
  }
  if (value.is_object()) {
    nlohmann::json object = nlohmann::json::object();
    for (auto it = value.begin(); it != value.end(); ++it) object[Utf8(it.key())] = InUtf8(it.value());
    return object;
  }
  return value;
}

// The code point of the UTF-8 character at the start of text.
unsigned CodePoint(const char* text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  if (p[0] < 0x80) return p[0];
  const int more = p[0] >= 0xF0 ? 3 : p[0] >= 0xE0 ? 2 : 1;
  unsigned value = p[0] & (0x3Fu >> more);
  for (int i = 1; i <= more && (p[i] & 0xC0) == 0x80; ++i) value = (value << 6) | (p[i] & 0x3Fu);
  return value;
}

}  // namespace

bool TerminalArguments(int argc, char** argv, std::vector<std::string>* args, std::string* problem) {
  for (int i = 1; i < argc; ++i) {
    const std::string typed = argv[i] != nullptr ? argv[i] : "";
    std::string out(typed.size() + 1, '\0');
    char missing[8] = "";
    if (!VSGetArgument(argc, argv, i, out.data(), static_cast<int>(out.size()), missing, sizeof missing)) {
      if (problem != nullptr) {
        // Told by its number: the message itself is code-page text.
        char number[16] = "";
        std::snprintf(number, sizeof number, "U+%04X", CodePoint(missing));
        *problem = "argument " + std::to_string(i) + " holds the character " + number +
                   ", which the installation's code page (Windows-1252) cannot hold";
      }
      return false;
    }
    out.resize(std::char_traits<char>::length(out.c_str()));
    args->push_back(out);
  }
  return true;
}

TerminalOutput::int_type TerminalOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  pending_ += byte;
  if (byte == '\n' && sync() != 0) return traits_type::eof();
  return c;
}

std::streamsize TerminalOutput::xsputn(const char* text, std::streamsize count) {
  pending_.append(text, static_cast<size_t>(count));
  if (pending_.find('\n') != std::string::npos && sync() != 0) return 0;
  return count;
}

int TerminalOutput::sync() {
  if (!pending_.empty()) {
    failed_ = !VSWriteToTerminal(stream_, pending_.data(), static_cast<int>(pending_.size())) || failed_;
    pending_.clear();
  }
  return failed_ ? -1 : 0;
}

std::string Dump(const nlohmann::json& value) {
  return InUtf8(value).dump(2, ' ', true, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace vesta::tool
