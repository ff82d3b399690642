#include "io/design_file.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iterator>

#include "io/atomic_save.h"
#include "io/regular_file.h"
#include "model/design_limits.h"
#include "model/facet_construction.h"
#include "model/gear.h"
#include "model/girdle.h"
#include "model/number_text.h"

namespace brillora {

namespace {

constexpr std::string_view kHeader = "Step\tAngle\tSplit\tShift\tPosit\tAuto";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// Splits on CR LF, LF or a lone CR, as a text-file reader sees lines.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class LineReader {
 public:
  explicit LineReader(std::string_view text) : lines_(SplitLines(text)) {}
  // Past the end a read yields an empty line, as at the end of a file.
  std::string_view Next() { return next_ < lines_.size() ? lines_[next_++] : std::string_view{}; }

 private:
  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
};

// Reads one side's count line, header and step lines. Returns false when the
// side makes the file invalid.
bool ReadSide(LineReader& reader, bool crown, MasStep& steps) {
  bool valid = true;
  int next = 1;
  const double count = RoundHalfEven(TokenValue(reader.Next(), 1, next, valid));
  if (!valid || !(count > 0) || count > kMaxSteps) return false;
  const int n = static_cast<int>(count);

  steps.assign(n + 2, TStep{});
  steps[0].Posit = crown ? 0.5 : 1.0;
  steps[0].Facets.resize(1);
  reader.Next();  // the header line is not checked

  for (int i = 1; i <= n; ++i) {
    const std::string_view line = reader.Next();
    std::string skipped;
    int position = 1;
    NextToken(line, 1, position, skipped);
    const double angle = TokenValue(line, position, position, valid);
    const double split = RoundHalfEven(TokenValue(line, position, position, valid));
    const double shift = RoundHalfEven(TokenValue(line, position, position, valid));
    const double positColumn = TokenValue(line, position, position, valid);
    const double autoColumn = TokenValue(line, position, position, valid);
    if (!valid) return false;
    // Values no editor can produce would only make nonsense or overflow later.
    if (!(angle >= kMinSlopeDegrees && angle <= kMaxSlopeDegrees)) return false;
    if (std::abs(split) > kMaxTurnNotches || std::abs(shift) > kMaxTurnNotches) return false;
    if (!std::isfinite(positColumn) || !std::isfinite(autoColumn)) return false;

    TStep& step = steps[i];
    step.Angle = angle;
    step.Split = static_cast<int>(split);
    step.Shift = static_cast<int>(shift);
    // The girdle tier's column holds ten times the girdle thickness.
    step.Posit = (crown && i == 1) ? GirdlePosit(positColumn / 10.0, angle) : positColumn;
    if (!std::isfinite(step.Posit)) return false;
    step.Auto = autoColumn > 0.5;
    if (SplitTierTurns(steps, i)) return false;
  }
  return true;
}

// The girdle tier's column holds ten times its thickness, from which the
// reader computes the position again through the slope. The column written
// is the shortest whose reading gives back exactly the position: the
// thickness rounded to 2, 3, .. decimals, else a column a few roundings from
// the exact one. Not every position can come back from some column (near a
// flat slope a column's last digit moves the position by more than its
// last); then the column that comes nearest is written.
std::string GirdleColumn(double posit, double angle) {
  const double column = 10.0 * GirdleThickness(posit, angle);
  if (!std::isfinite(column)) return FormatExact(column, 4, 2);
  const auto miss = [&](double c) { return std::abs(GirdlePosit(c / 10.0, angle) - posit); };
  for (int decimals = 2; decimals <= 17; ++decimals) {
    const std::string text = FormatFixed(column, 4, decimals);
    double read = 0.0;
    if (ParseCleanNumber(text, read) && miss(read) == 0.0) return text;
  }
  double best = column;
  double up = column, down = column;
  for (int step = 0; step < 64 && miss(best) > 0.0; ++step) {
    up = std::nextafter(up, INFINITY);
    down = std::nextafter(down, -INFINITY);
    for (double c : {up, down}) {
      if (miss(c) < miss(best)) best = c;
    }
  }
  return FormatExact(best, 4, 2);
}

// Slopes and positions are written with as many decimals as give back the
// very numbers the stone was built from (two at least, as the format always
// had): a reader of the format parses a decimal number of any length, so
// older readers take these files as they are. The editor keeps typed slopes
// within what the reader accepts; slopes that the construction derives for
// Auto tiers may come out flatter, or undefined where planes do not meet. A
// read derives them anew, so the nearest slope the reader accepts is written
// for them.
//
// An Auto tier's stored slope is the construction's own: a later tier's is
// derived again on reading from the tiers before it, and is written with two
// decimals; the first tier's is derived from itself, and the construction
// stores it back through its cotangent, so it comes back a rounding away from
// the slope typed (43.00000000000001 for 43). The shortest slope that derives
// the stored one is written: the slope typed, which built the stone shown.
std::string SlopeColumn(const TStep& step, int k) {
  const double angle = WithinSlopeRange(step.Angle);
  if (!step.Auto) return FormatExact(angle, 5, 2);
  if (k > 1) return FormatFixed(angle, 5, 2);
  for (int decimals = 2; decimals <= 17; ++decimals) {
    const std::string text = FormatFixed(angle, 5, decimals);
    double read = 0.0;
    if (ParseCleanNumber(text, read) && WithinSlopeRange(DerivedSlope(read)) == angle) return text;
  }
  return FormatExact(angle, 5, 2);
}

std::string StepLines(const MasStep& steps, bool crown) {
  std::string text;
  const int n = static_cast<int>(steps.size()) - 2;
  for (int i = 1; i <= n; ++i) {
    const TStep& step = steps[i];
    const std::string slopeColumn = SlopeColumn(step, i);
    double slopeRead = 0.0;  // the girdle's position comes back through the slope as read
    ParseCleanNumber(slopeColumn, slopeRead);
    const std::string positColumn =
        (crown && i == 1) ? GirdleColumn(step.Posit, slopeRead) : FormatExact(step.Posit, 4, 2);
    text += std::to_string(i) + '\t' + slopeColumn + '\t' + std::to_string(step.Split) + '\t' +
            std::to_string(step.Shift) + '\t' + positColumn + '\t' + (step.Auto ? "1" : "0") + "\r\n";
  }
  return text;
}

std::string LowerExtension(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool HasDesignExtension(const std::filesystem::path& file) {
  const std::string ext = LowerExtension(file);
  return ext == ".brl" || ext == ".txt";
}

std::string ClockText(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[128];
  const std::size_t length = std::strftime(buffer, sizeof buffer, format, &local);
  return std::string(buffer, length);
}

std::string SaveError(const std::filesystem::path& file, const std::string& reason) {
  return "Cannot save \"" + file.string() + "\": " + reason;
}

}  // namespace

void NextToken(std::string_view line, int position, int& nextPosition, std::string& token) {
  if (position < 1 || static_cast<std::size_t>(position) > line.size()) return;
  std::size_t i = static_cast<std::size_t>(position) - 1;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size()) return;
  std::string collected;
  for (; i < line.size() && !IsBlank(line[i]); ++i) collected += line[i] == ',' ? '.' : line[i];
  token = std::move(collected);
  nextPosition = static_cast<int>(i) + 1;
}

double TokenValue(std::string_view line, int position, int& nextPosition, bool& valid) {
  std::string token;
  NextToken(line, position, nextPosition, token);
  double value = 0.0;
  if (token.empty() || !ParseCleanNumber(token, value)) {
    valid = false;
    return 0.0;
  }
  return value;
}

DesignReadResult ReadDesignText(std::string_view text) {
  DesignReadResult result;
  LineReader reader(text);
  std::string symmetry;
  int next = 1;
  NextToken(reader.Next(), 1, next, symmetry);
  const bool knownSymmetry = std::find(kSymmetryItems.begin(), kSymmetryItems.end(), symmetry) !=
                             kSymmetryItems.end();
  if (!knownSymmetry) {
    result.error = kInvalidFileFormat;
    return result;
  }
  Design& design = result.design;
  design.SymOrder = std::stoi(symmetry);
  design.GearNotches = GearNotchesFor(design.SymOrder);

  if (!ReadSide(reader, true, design.CrownSteps) || !ReadSide(reader, false, design.PavilionSteps)) {
    result.error = kInvalidFileFormat;
    return result;
  }

  bool valid = true;
  result.refractiveIndex = TokenValue(reader.Next(), 1, next, valid);
  if (!valid || !(result.refractiveIndex >= kMinRefractiveIndex &&
                  result.refractiveIndex <= kMaxRefractiveIndex)) {
    result.error = kInvalidFileFormat;
  }
  return result;
}

DesignReadResult ReadDesignFile(const std::filesystem::path& file) {
  const auto content = ReadRegularFile(file, kMaxDesignFileBytes);
  if (!content) {
    DesignReadResult result;
    result.error = kInvalidFileFormat;
    return result;
  }
  return ReadDesignText(*content);
}

DesignReadResult OpenDesignFile(const std::filesystem::path& file) {
  if (!HasDesignExtension(file)) {
    DesignReadResult result;
    result.error = kInvalidFileType;
    return result;
  }
  return ReadDesignFile(file);
}

std::string DesignFileText(const Design& design, double refractiveIndex, std::string_view date,
                           std::string_view time) {
  std::string text = std::to_string(design.SymOrder) + " Order of Symmetry\r\n";
  const auto side = [&](const MasStep& steps, bool crown, const char* title) {
    text += std::to_string(static_cast<int>(steps.size()) - 2) + ' ' + title + "\r\n";
    text += std::string(kHeader) + "\r\n";
    text += StepLines(steps, crown);
  };
  side(design.CrownSteps, true, "Steps of Crown");
  side(design.PavilionSteps, false, "Steps of Pavilion");
  text += FormatExact(refractiveIndex, 5, 3) + " Refractive Index\r\n";
  text += "Date   " + std::string(date) + "\r\n";
  text += "Time   " + std::string(time) + "\r\n";
  return text;
}

DesignSaveResult WriteDesignFile(const std::filesystem::path& file, const Design& design,
                                 double refractiveIndex) {
  DesignSaveResult result;
  const std::string text =
      DesignFileText(design, refractiveIndex, ClockText("%x"), ClockText("%X"));

  AtomicSave out(file);
  if (!out.Write(text.data(), text.size()) || !out.Commit()) {
    result.error = SaveError(file, out.Error());
    return result;
  }
  result.written = true;
  return result;
}

DesignSaveResult SaveDesignFile(const std::filesystem::path& file, const Design& design,
                                double refractiveIndex) {
  if (!HasDesignExtension(file)) return {};
  return WriteDesignFile(file, design, refractiveIndex);
}

}  // namespace brillora
