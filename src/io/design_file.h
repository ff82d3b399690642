#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/design.h"

namespace brillora {

inline constexpr std::string_view kInvalidFileType = "Invalid File Type";
inline constexpr std::string_view kInvalidFileFormat = "Invalid File Format";

// Design files are small (500 tiers a side take about 40 KB); anything longer
// is refused unread, so that an endless file cannot take all memory.
inline constexpr std::size_t kMaxDesignFileBytes = 4 * 1024 * 1024;

// The refractive indices the optics can use: a file with another one is invalid.
inline constexpr double kMinRefractiveIndex = 1.0;
inline constexpr double kMaxRefractiveIndex = 5.0;
// The same for the dispersion a file may carry.
inline constexpr double kMinDispersion = 0.0;
inline constexpr double kMaxDispersion = 0.3;

// A design as a file holds it, or the message that says why it could not be read.
struct DesignReadResult {
  Design design;
  double refractiveIndex = 0.0;
  // The material's dispersion, from a line "0.044 Dispersion" after the time
  // line; files written before it was kept have none.
  std::optional<double> dispersion;
  std::string error;  // empty when the whole file was valid

  bool ok() const { return error.empty(); }
};

// The outcome of a save. `written` is false both for a failure (with `error`
// naming the file and the reason) and for a name whose extension is not a design
// extension (no error: such names are silently not written).
struct DesignSaveResult {
  bool written = false;
  std::string error;
};

// Takes the next token of `line` from 1-based `position`: skips spaces and tabs,
// collects up to the next space, tab or line end, stores commas as points.
// Leaves `token` and `nextPosition` alone when nothing but blanks remain.
void NextToken(std::string_view line, int position, int& nextPosition, std::string& token);

// The next token as a number. Clears `valid` when the token is missing or not a
// clean decimal number; never sets it.
double TokenValue(std::string_view line, int position, int& nextPosition, bool& valid);

// Reads a design from the text of a design file.
DesignReadResult ReadDesignText(std::string_view text);

// Reads a design file; any fault gives "Invalid File Format".
DesignReadResult ReadDesignFile(const std::filesystem::path& file);

// Reads a file named by the user: ".brl" and ".txt" in any case, else "Invalid File Type".
DesignReadResult OpenDesignFile(const std::filesystem::path& file);

// The text of a design file, with the given date and time lines, and the
// dispersion line last when there is a dispersion. Readers that know no
// dispersion read nothing past the refractive index line.
std::string DesignFileText(const Design& design, double refractiveIndex, std::string_view date,
                           std::string_view time, std::optional<double> dispersion = std::nullopt);

// Writes the design beside the old file and renames it over (see AtomicSave),
// so that a failed save leaves the previous file as it was; a file the user
// may not write is not replaced. The error names the file and the system's
// reason.
DesignSaveResult WriteDesignFile(const std::filesystem::path& file, const Design& design,
                                 double refractiveIndex, std::optional<double> dispersion = std::nullopt);

// Writes only names with the ".brl" or ".txt" extension, in any case.
DesignSaveResult SaveDesignFile(const std::filesystem::path& file, const Design& design,
                                double refractiveIndex, std::optional<double> dispersion = std::nullopt);

}  // namespace brillora
