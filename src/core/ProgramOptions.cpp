#include "core/ProgramOptions.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <iostream>

#include "base/Version.h"

namespace zk {

namespace {

QStringList ToQt(const std::vector<std::string>& names) {
  QStringList q;
  for (const std::string& n : names) q << QString::fromStdString(n);
  return q;
}

std::string Dashed(const std::string& name) { return (name.size() == 1 ? "-" : "--") + name; }

// "-o, --output OUT.png"
std::string Label(const std::vector<std::string>& names, const std::string& valueName) {
  std::string label;
  for (const std::string& n : names) label += (label.empty() ? "" : ", ") + Dashed(n);
  if (!valueName.empty()) label += " " + valueName;
  return label;
}

}  // namespace

ProgramOptions::ProgramOptions(std::string program, std::string synopsis, std::string description, std::string details)
    : program_(std::move(program)),
      synopsis_(std::move(synopsis)),
      description_(std::move(description)),
      details_(std::move(details)) {}

void ProgramOptions::Flag(const std::vector<std::string>& names, const std::string& help) {
  options_.push_back({names, "", help});
}

void ProgramOptions::Value(const std::vector<std::string>& names, const std::string& valueName,
                           const std::string& help) {
  options_.push_back({names, valueName, help});
}

void ProgramOptions::Positionals_End_Options() { positionalsEndOptions_ = true; }

bool ProgramOptions::Parse(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return Parse(args);
}

bool ProgramOptions::Parse(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  if (positionalsEndOptions_)
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  std::vector<QCommandLineOption> qt;
  for (const Option& o : options_) {
    QCommandLineOption q(ToQt(o.names));
    if (!o.valueName.empty()) q.setValueName(QString::fromStdString(o.valueName));
    qt.push_back(q);
    parser.addOption(q);
  }
  const QCommandLineOption help(QStringList{"h", "help"}), version(QStringList{"version"});
  parser.addOption(help);
  parser.addOption(version);

  values_.clear();
  positionals_.clear();
  error_.clear();
  // The parser takes the first element as the program's name.
  if (!parser.parse(QStringList{QString::fromStdString(program_)} + ToQt(args))) {
    error_ = parser.errorText().toStdString();
    return false;
  }
  help_ = parser.isSet(help);
  version_ = parser.isSet(version);
  for (size_t i = 0; i < options_.size(); ++i) {
    if (!parser.isSet(qt[i])) continue;
    std::vector<std::string> values;
    for (const QString& v : parser.values(qt[i])) values.push_back(v.toStdString());
    if (values.empty()) values.emplace_back();  // a flag: set, without a value
    for (const std::string& n : options_[i].names) values_[n] = values;
  }
  for (const QString& p : parser.positionalArguments()) positionals_.push_back(p.toStdString());
  return !help_ && !version_;
}

bool ProgramOptions::IsSet(const std::string& name) const { return values_.count(name) != 0; }

std::string ProgramOptions::Get(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? std::string() : it->second.back();
}

std::vector<std::string> ProgramOptions::GetAll(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? std::vector<std::string>{} : it->second;
}

std::vector<std::string> ProgramOptions::Positionals() const { return positionals_; }

int ProgramOptions::Finish(std::ostream& out, std::ostream& err) const {
  if (!error_.empty()) {
    err << program_ << ": " << error_ << "\n" << UsageLine() << "Try '" << program_ << " --help' for more.\n";
    return 2;
  }
  if (help_) {
    out << HelpText();
    return 0;
  }
  out << VersionText();
  return 0;
}

int ProgramOptions::Finish() const { return Finish(std::cout, std::cerr); }

int ProgramOptions::Fail(const std::string& reason, std::ostream& err) const {
  ProgramOptions copy = *this;
  copy.error_ = reason;
  return copy.Finish(std::cout, err);
}

int ProgramOptions::Fail(const std::string& reason) const { return Fail(reason, std::cerr); }

std::string ProgramOptions::UsageLine() const { return "Usage: " + program_ + " " + synopsis_ + "\n"; }

std::string ProgramOptions::VersionText() { return std::string(ProgramTitle) + " " + VersionNumberText() + "\n"; }

std::string ProgramOptions::HelpText() const {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const Option& o : options_) rows.emplace_back(Label(o.names, o.valueName), o.help);
  rows.emplace_back("-h, --help", "show this text and end");
  rows.emplace_back("--version", "show the program's version and end");
  size_t width = 0;
  for (const auto& r : rows) width = std::max(width, r.first.size());
  std::string text = UsageLine() + "\n" + description_ + "\n\nOptions:\n";
  for (const auto& [label, help] : rows) {
    // A help of several lines continues under its first line.
    std::string line = "  " + label + std::string(width - label.size() + 2, ' ');
    const std::string indent(line.size(), ' ');
    size_t start = 0;
    for (;;) {
      const size_t nl = help.find('\n', start);
      text += (start == 0 ? line : indent) + help.substr(start, nl - start) + "\n";
      if (nl == std::string::npos) break;
      start = nl + 1;
    }
  }
  if (!details_.empty()) text += "\n" + details_;
  return text;
}

}  // namespace zk
