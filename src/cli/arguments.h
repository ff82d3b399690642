#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brillora::cli {

// The words after the command name, taken one at a time.
class Arguments {
 public:
  explicit Arguments(std::span<const std::string> words) : words_(words.begin(), words.end()) {}

  bool Done() const { return next_ >= words_.size(); }
  const std::string& Peek() const { return words_[next_]; }
  std::string Take() { return words_[next_++]; }
  // The value after an option; nullopt when the words ran out.
  std::optional<std::string> TakeValue() {
    if (Done()) return std::nullopt;
    return Take();
  }
  // The value after an option that names something (a material, a file):
  // a word that starts with '-' is the next option and is not taken.
  std::optional<std::string> TakeName() {
    if (Done() || Peek().starts_with('-')) return std::nullopt;
    return Take();
  }

 private:
  std::vector<std::string> words_;
  std::size_t next_ = 0;
};

// A whole-text number, or nullopt.
std::optional<double> ParseNumber(const std::string& text);
std::optional<int> ParseInteger(const std::string& text);

// Thrown for a usage error: the command prints its usage and exits with status 2.
struct UsageError {
  std::string message;
};

// The value of --diameter, the girdle's corner-to-corner width in
// millimetres: positive and at most a million (a kilometre), so that the
// weight and heights of any stone stay numbers. A usage error otherwise.
inline constexpr double kMaxDiameterMm = 1e6;
double TakeDiameter(Arguments& args);

}  // namespace brillora::cli
