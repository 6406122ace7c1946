// The commands of vesta. Each is a unit of its own: an entry that names it,
// its group and its summary, and a Command that declares its arguments on
// its node of the command line (their values are the Command's own), its
// help with an example of itself, and its run. RunVesta builds the command
// line from the one list of entries and runs the command that was reached.
#ifndef VESTA_PROGRAMS_VESTA_COMMANDS_H
#define VESTA_PROGRAMS_VESTA_COMMANDS_H

#include <memory>
#include <string>
#include <utility>

#include "programs/vesta/console.h"

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace vesta::tool {

class Command {
 public:
  virtual ~Command() = default;
  // Declares the arguments, bound to the command's members, and the help.
  virtual void Declare(CLI::App& node) = 0;
  // Runs the command on what the command line gave; returns its exit status.
  virtual int Run(Console& console) const = 0;
};

// A group of commands (world, types, ...): one of them must follow, and the
// group's help ends with its example. It is never run itself.
class Group : public Command {
 public:
  explicit Group(std::string footer) : footer_(std::move(footer)) {}
  void Declare(CLI::App& node) override;
  int Run(Console& console) const override;

 private:
  std::string footer_;
};

// A group whose commands work on one file, which the group's option names
// (types --catalogue, package --manifest); "" when it is not given.
class FileGroup : public Group {
 public:
  FileGroup(std::string footer, const char* names, const char* description)
      : Group(std::move(footer)), names_(names), description_(description) {}
  void Declare(CLI::App& node) override;
  const std::string& File() const { return file_; }

 private:
  const char* names_;
  const char* description_;
  std::string file_;
};

// A command of a FileGroup, which works on the group's file.
class FileCommand : public Command {
 public:
  explicit FileCommand(const FileGroup& group) : group_(group) {}

 protected:
  const std::string& File() const { return group_.File(); }

 private:
  const FileGroup& group_;
};

struct CommandEntry {
  const char* group;    // the group's name; nullptr for a group or a command of vesta's own
  const char* name;
  const char* summary;  // its line in the help of what it belongs to
  // Makes the command; group: its group's command (nullptr without one).
  std::unique_ptr<Command> (*make)(const Command* group);
};

// The entry of a command that needs nothing of its group.
template <typename T>
std::unique_ptr<Command> Make(const Command* /*group*/) {
  return std::make_unique<T>();
}

// The entry of a FileCommand: made with its group, a FileGroup.
template <typename T>
std::unique_ptr<Command> MakeInFileGroup(const Command* group) {
  return std::make_unique<T>(static_cast<const FileGroup&>(*group));
}

// "\nExample:\n  " and the lines: the end of every command's help.
std::string Example(const std::string& lines);

// What a command works on is named: an empty name is a wrong command line.
extern const CLI::Validator kNamed;

// The entries, each in the file of its command; RunVesta lists them in the
// order of the help.
extern const CommandEntry kWorldGroup, kWorldShow, kWorldCheck, kWorldPack, kWorldGraph;
extern const CommandEntry kTypesGroup, kTypesList, kTypesMatch, kTypesAdd, kTypesRemove;
extern const CommandEntry kPackageGroup, kPackageList, kPackageVerify, kPackageUninstall;
extern const CommandEntry kRegGroup, kRegQuery, kRegSet, kRegDelete, kRegImport, kRegExport;
extern const CommandEntry kShortcutGroup, kShortcutCreate, kShortcutShow;
extern const CommandEntry kRoot;

}  // namespace vesta::tool

#endif
