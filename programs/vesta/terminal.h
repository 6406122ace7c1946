// Where text crosses between the terminal and the libraries: the libraries
// speak the Western code page; a terminal speaks UTF-8 on Linux and wide
// characters in a Windows console. Arguments come in and output goes out
// only through here; JSON goes out as ASCII, its other characters escaped.
#ifndef VESTA_PROGRAMS_VESTA_TERMINAL_H
#define VESTA_PROGRAMS_VESTA_TERMINAL_H

#include <nlohmann/json.hpp>

#include <streambuf>
#include <string>
#include <vector>

namespace vesta::tool {

// The arguments after the program's name, in the code page. False, with
// why in *problem, when one holds a character the code page lacks.
bool TerminalArguments(int argc, char** argv, std::vector<std::string>* args, std::string* problem);

// Code-page text written to standard output (1) or standard error (2) as
// the terminal expects it. Kept until a line ends or the stream is flushed.
class TerminalOutput : public std::streambuf {
 public:
  explicit TerminalOutput(int stream) : stream_(stream) {}
  ~TerminalOutput() override { sync(); }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  int stream_;
  std::string pending_;
  bool failed_ = false;
};

// A document whose texts are in the code page, as JSON text: the texts in
// UTF-8, written with every character outside ASCII escaped ("\u00e9"), so
// that it reads the same whatever the terminal does with bytes.
std::string Dump(const nlohmann::json& value);

}  // namespace vesta::tool

#endif
