// The scenario language: one step per line, words separated by blanks, `#`
// starting a comment, and double-quoted strings with the escapes \" \\ \r \n
// \xHH and \uHHHH. Files are UTF-8. The same files run on the simulated
// desktop and on real Windows.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tb::scenario {

struct Word {
  std::u16string text;
  bool quoted = false;
};

struct Step {
  int line = 0;
  std::string source;  // the line as written, without its comment
  std::vector<Word> words;
};

class ScenarioError : public std::runtime_error {
 public:
  ScenarioError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
  [[nodiscard]] int Line() const { return line_; }

 private:
  int line_;
};

// The steps of a scenario text; throws ScenarioError on a line it cannot
// read (an unterminated string, a bad escape, text that is not UTF-8).
std::vector<Step> Parse(const std::string& text);

std::u16string FromUtf8(const std::string& text);
// Unpaired surrogates come out as U+FFFD.
std::string ToUtf8(const std::u16string& text);
// A text as a scenario would write it: quoted, with escapes for what is not
// printable ASCII.
std::string Quote(const std::u16string& text);

}  // namespace tb::scenario
