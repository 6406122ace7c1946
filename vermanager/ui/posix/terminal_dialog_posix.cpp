#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "vermanager/ui/posix/terminal_dialog.h"

namespace vesta::ui {
namespace posix {
namespace {

std::string Trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

// Every line of text with a frame mark before it.
void PrintFramed(FILE* out, const std::string& text) {
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    std::fprintf(out, "| %s\n", text.substr(start, end - start).c_str());
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

}  // namespace

bool TerminalPackageDialog::ReadLine(std::string* line) {
  std::fflush(out_);
  line->clear();
  int c;
  while ((c = std::fgetc(in_)) != EOF && c != '\n') *line += static_cast<char>(c);
  return c != EOF || !line->empty();
}

void TerminalPackageDialog::ClearList() {
  items_.clear();
  selection_ = -1;
}

void TerminalPackageDialog::AddListItem(const std::string& title) { items_.push_back(title); }

void TerminalPackageDialog::Show() {
  std::fprintf(out_, "\n== UnInstall VestaWare ==\n[%s]\n", folder_.c_str());
  std::fprintf(out_,
               "To un-install a VestaWare package, select the package name from the list, then press "
               "the \"Un-Install Package\" button.\n");
  for (size_t i = 0; i < items_.size(); ++i) {
    std::fprintf(out_, "%s%3zu  %s\n", static_cast<int>(i) == selection_ ? " >" : "  ", i + 1,
                 items_[i].c_str());
  }
  if (items_.empty()) std::fprintf(out_, "     (no packages)\n");
  const char* off = actionsEnabled_ ? "" : " (select a package first)";
  std::fprintf(out_, "v: Verify Package%s   u: Un-Install Package%s\n", off, off);
  std::fprintf(out_, "a: About   h: Help   l: Log...   c: Close\n");
  std::fprintf(out_, "A number selects a package; a number and \"!\" (as 2!) opens it as a double-click does.\n> ");
}

void TerminalPackageDialog::Press(PackageDialogEvents* events, const std::string& line) {
  if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
    char* end = nullptr;
    long number = std::strtol(line.c_str(), &end, 10);
    bool doubleClick = *end == '!';
    if (number < 1 || number > static_cast<long>(items_.size())) {
      std::fprintf(out_, "There is no package %s.\n", line.c_str());
      return;
    }
    selection_ = static_cast<int>(number) - 1;
    if (doubleClick) {
      events->OnPackageDblClk();
    } else {
      events->OnPackageSelChange();
    }
    return;
  }
  const char key = line.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
  switch (key) {
    case 'v':
    case 'u':
      if (!actionsEnabled_) {
        std::fprintf(out_, "Select a package first.\n");
      } else if (key == 'v') {
        events->OnVerify();
      } else {
        events->OnUninstall();
      }
      break;
    case 'a':
      events->OnAbout();
      break;
    case 'h':
      events->OnHelpButton();
      break;
    case 'l':
      events->OnLog();
      break;
    case 'c':
    case 'q':
      events->OnCancel();
      break;
    case '\0':
      break;
    default:
      std::fprintf(out_, "Unknown key \"%s\".\n", line.c_str());
      break;
  }
}

bool TerminalPackageDialog::Run(PackageDialogEvents* events) {
  if (events == nullptr) return false;
  ended_ = false;
  events->OnInitDialog(this);
  std::string line;
  while (!ended_) {
    Show();
    if (!ReadLine(&line)) {
      std::fprintf(out_, "\n");
      events->OnCancel();  // the input has ended: close
      break;
    }
    Press(events, Trimmed(line));
  }
  std::fflush(out_);
  return true;
}

MessageAnswer TerminalPackageDialog::ShowMessage(const std::string& text, const std::string& caption,
                                                 MessageButtons buttons) {
  std::fprintf(out_, "\n+-- %s --\n", caption.c_str());
  PrintFramed(out_, text);
  std::string line;
  if (buttons == MessageButtons::kOk) {
    std::fprintf(out_, "+-- [OK] (press Enter) ");
    ReadLine(&line);
    return MessageAnswer::kOk;
  }
  while (true) {
    std::fprintf(out_, "+-- [Yes] [No] (y/n) ");
    if (!ReadLine(&line)) return MessageAnswer::kNo;
    std::string answer = Trimmed(line);
    if (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes") return MessageAnswer::kYes;
    if (answer == "n" || answer == "N" || answer == "no" || answer == "No") return MessageAnswer::kNo;
  }
}

void TerminalPackageDialog::ShowAbout(const std::string& version, const std::string& subRelease, int build) {
  std::fprintf(out_, "\n+-- About --\n| UnInstall VestaWare\n| Version:     %s\n| Sub-Release: %s\n| Build:       %d\n",
               version.c_str(), subRelease.c_str(), build);
  std::fprintf(out_, "+-- [OK] (press Enter) ");
  std::string line;
  ReadLine(&line);
}

}  // namespace posix

bool RunPackageDialog(PackageDialogEvents* events) {
  posix::TerminalPackageDialog dialog(stdin, stdout);
  return dialog.Run(events);
}

}  // namespace vesta::ui
