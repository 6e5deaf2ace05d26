#pragma once
// The command line of each program, read by Qt's QCommandLineParser the same way for all
// of them: -h/--help prints the program's help to standard output and ends with code 0,
// --version prints the product's name and version and ends with 0, and a line that
// cannot be used prints "program: reason" and the usage line to standard error and ends
// with code 2. The help text is made from the options declared here, so it lists every
// option the program takes.
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace zk {

class ProgramOptions {
 public:
  // synopsis: what follows the program name on the usage line ("[options] CAPTURE");
  // description: what the program does; details: further sections after the options.
  ProgramOptions(std::string program, std::string synopsis, std::string description, std::string details = {});

  // An option without a value. Names are given without dashes: {"o", "output"}.
  void Flag(const std::vector<std::string>& names, const std::string& help);
  // An option with a value, repeatable. valueName appears in the help ("DIR").
  void Value(const std::vector<std::string>& names, const std::string& valueName, const std::string& help);
  // After the first positional argument everything is positional (a subcommand's own options).
  void Positionals_End_Options();

  // Reads the arguments after the program name. False when the program should not go on:
  // help or the version was asked for, or the line was not understood (Error()); Finish()
  // then prints what is due.
  bool Parse(const std::vector<std::string>& args);
  bool Parse(int argc, char** argv);

  bool HelpAsked() const { return help_; }
  bool VersionAsked() const { return version_; }
  const std::string& Error() const { return error_; }

  bool IsSet(const std::string& name) const;
  // The last value given for the option ("" when not given), or all of them in order.
  std::string Get(const std::string& name) const;
  std::vector<std::string> GetAll(const std::string& name) const;
  std::vector<std::string> Positionals() const;

  // Prints the help, the version or the error as described above and answers the exit code.
  int Finish(std::ostream& out, std::ostream& err) const;
  int Finish() const;
  // A value found unusable after parsing: records `reason` and finishes with code 2.
  int Fail(const std::string& reason, std::ostream& err) const;
  int Fail(const std::string& reason) const;

  std::string HelpText() const;
  std::string UsageLine() const;
  static std::string VersionText();

 private:
  struct Option {
    std::vector<std::string> names;
    std::string valueName, help;
  };
  std::string program_, synopsis_, description_, details_;
  std::vector<Option> options_;
  bool positionalsEndOptions_ = false;
  bool help_ = false, version_ = false;
  std::string error_;
  std::map<std::string, std::vector<std::string>> values_;  // by every name of a given option
  std::vector<std::string> positionals_;
};

}  // namespace zk
