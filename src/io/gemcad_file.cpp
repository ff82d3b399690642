#include "io/gemcad_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <vector>

#include "io/atomic_write.h"
#include "io/gemcad_binary.h"
#include "io/file_text.h"
#include "io/regular_file.h"
#include "model/number_text.h"

namespace brillora {

namespace {

struct Token {
  std::string_view text;
  std::size_t end;  // offset just past the token in its line
};

std::vector<Token> Tokens(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) tokens.push_back({line.substr(start, i - start), i});
  }
  return tokens;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<double> Number(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> Whole(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Joins pieces of text (plain concatenation of literals and strings trips a
// false alarm of the compiler's overlap check).
std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

class Reader {
 public:
  GemCadReadResult Read(std::string_view text) {
    if (text.size() > kGemCadMaxBytes) return Fail(0, "the file is larger than any GemCad design");
    // A file is in one encoding: UTF-8 when all of it is, else Windows-1252.
    utf8_ = IsUtf8(text);
    std::size_t number = 0;
    bool first = true;
    bool gear = false;
    while (!text.empty()) {
      const std::size_t cut = text.find('\n');
      std::string_view line = text.substr(0, cut);
      text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
      ++number;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      const std::vector<Token> tokens = Tokens(line);
      if (tokens.empty()) continue;
      if (first) {
        if (tokens[0].text.substr(0, 6) != "GemCad") return Fail(number, "a GemCad design begins with \"GemCad\"");
        first = false;
        continue;
      }
      const std::string_view key = tokens[0].text;
      std::string why;
      if (key == "g") {
        why = GearLine(tokens);
        gear = true;
      } else if (key == "y") {
        why = SymmetryLine(tokens);
      } else if (key == "I") {
        why = IndexLine(tokens);
      } else if (key == "H" || key == "F") {
        (key == "H" ? result_.design.headings : result_.design.footnotes)
            .push_back(Text(Trimmed(line.substr(tokens[0].end))));
      } else if (key == "a") {
        why = TierLine(line, tokens);
      } else if (!result_.design.tiers.empty()) {
        why = Facets(line, tokens, 0);
      } else {
        why = Cat({Quoted(key), " is not a GemCad keyword"});
      }
      if (!why.empty()) return Fail(number, why);
    }
    if (first) return Fail(number, "the file is empty");
    if (!gear) return Fail(number, "there is no gear line (g)");
    if (result_.design.tiers.empty()) return Fail(number, "there are no facets (a lines)");
    return std::move(result_);
  }

 private:
  std::string Text(std::string_view bytes) const {
    return utf8_ ? std::string(bytes) : Utf8FromWindows1252(bytes);
  }

  // A token of the file in a message: its first characters, as text.
  std::string Quoted(std::string_view token) const {
    const std::string text = Text(token);
    return Cat({"\"", Utf8Prefix(text, 20), "\""});
  }

  GemCadReadResult Fail(std::size_t line, const std::string& why) {
    GemCadReadResult failed;
    failed.error = Cat({"Invalid GemCad design: ", line > 0 ? Cat({"line ", std::to_string(line), ": "}) : "", why});
    return failed;
  }

  std::string GearLine(const std::vector<Token>& t) {
    const auto teeth = t.size() >= 2 ? Whole(t[1].text) : std::nullopt;
    const auto offset = t.size() >= 3 ? Number(t[2].text) : std::optional<double>(0.0);
    // A negative count is the same gear indexed the other way round.
    if (!teeth || *teeth == 0 || std::abs(*teeth) > kGemCadMaxTeeth) return "the gear needs 1 to 10000 teeth";
    if (!offset) return "the gear offset is not a number";
    if (!result_.design.tiers.empty()) return "the gear follows facets";
    result_.design.gearTeeth = *teeth;
    result_.design.gearOffset = *offset;
    return {};
  }

  std::string SymmetryLine(const std::vector<Token>& t) {
    const auto order = t.size() >= 2 ? Whole(t[1].text) : std::nullopt;
    if (!order || *order < 1 || *order > kGemCadMaxSymmetry) return "the symmetry order must be 1 to 1000";
    if (t.size() >= 3 && t[2].text != "y" && t[2].text != "n") return "the mirror flag is y or n";
    result_.design.symmetry = *order;
    result_.design.mirror = t.size() >= 3 && t[2].text == "y";
    return {};
  }

  std::string IndexLine(const std::vector<Token>& t) {
    const auto ri = t.size() >= 2 ? Number(t[1].text) : std::nullopt;
    if (!ri || *ri < kGemCadMinIndex || *ri > kGemCadMaxIndex) return "the refractive index must be a number from 1 to 10";
    result_.design.refractiveIndex = *ri;
    return {};
  }

  std::string TierLine(std::string_view line, const std::vector<Token>& t) {
    if (result_.design.tiers.size() >= kGemCadMaxTiers) return "more tiers than any GemCad design has";
    std::optional<double> angle;
    std::optional<double> distance;
    if (t.size() >= 3) {
      angle = Number(t[1].text);
      distance = Number(t[2].text);
    }
    if (!angle || std::abs(*angle) > 90.0) return "a tier's slope must be a number from -90 to 90";
    if (!distance || std::abs(*distance) > kGemCadMaxDistance) return "a tier's distance must be a number within a million";
    GemCadTier tier;
    tier.angle = *angle;
    tier.distance = *distance;
    result_.design.tiers.push_back(std::move(tier));
    return Facets(line, t, 3);
  }

  // Indices, "n NAME" after an index, and "G text" to the end of the line.
  std::string Facets(std::string_view line, const std::vector<Token>& t, std::size_t from) {
    GemCadTier& tier = result_.design.tiers.back();
    for (std::size_t i = from; i < t.size(); ++i) {
      if (t[i].text == "G") {
        tier.instruction = Text(Trimmed(line.substr(t[i].end)));
        return {};
      }
      if (t[i].text == "n") {
        if (tier.facets.empty() || i + 1 >= t.size()) return "a facet name (n) follows an index and has a name";
        tier.facets.back().name = Text(t[++i].text);
        continue;
      }
      const auto index = Number(t[i].text);
      if (!index || std::abs(*index) > kGemCadMaxGearIndex) {
        return Cat({Quoted(t[i].text), " is not a gear index"});
      }
      if (++facets_ > kGemCadMaxFacets) return "more facets than any GemCad design has";
      tier.facets.push_back({*index, {}});
    }
    return {};
  }

  GemCadReadResult result_;
  std::size_t facets_ = 0;
  bool utf8_ = true;
};

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// Slopes, distances and fractional indices are written with the decimals
// that give back the very numbers (nine at least), so that the planes read
// back are the planes written.
std::string Exact(double value) { return FormatExact(value, 0, 9); }

std::string IndexText(double index) {
  if (index == std::round(index) && std::abs(index) < 1e9) return std::to_string(static_cast<long long>(index));
  return Exact(index);
}

std::string LowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

bool IsGemCadName(const std::filesystem::path& file) {
  const std::string extension = LowerExtension(file);
  return extension == ".asc" || extension == ".gem";
}

bool IsGemCadBinaryName(const std::filesystem::path& file) { return LowerExtension(file) == ".gem"; }

GemCadReadResult ReadGemCadText(std::string_view text) { return Reader().Read(text); }

GemCadReadResult ReadGemCadFile(const std::filesystem::path& file) {
  RegularFileRead read = ReadRegularFileOrSayWhy(file, kGemCadMaxBytes);
  if (!read.content) {
    GemCadReadResult failed;
    failed.error = Cat({"Cannot read \"", Utf8FromFileText(file.string()), "\": ", read.failure});
    return failed;
  }
  return IsGemCadBinaryName(file) ? ReadGemCadBinary(*read.content) : ReadGemCadText(*read.content);
}

std::string GemCadText(const GemCadDesign& design) {
  // GemCad's own readers take Windows-1252: the texts are written so when
  // every character has a byte there, else all of them as UTF-8.
  std::vector<const std::string*> texts;
  for (const std::string& h : design.headings) texts.push_back(&h);
  for (const std::string& f : design.footnotes) texts.push_back(&f);
  for (const GemCadTier& tier : design.tiers) {
    texts.push_back(&tier.instruction);
    for (const GemCadFacet& facet : tier.facets) texts.push_back(&facet.name);
  }
  const bool windows1252 = std::all_of(texts.begin(), texts.end(),
                                       [](const std::string* t) { return Windows1252FromUtf8(*t).has_value(); });
  const auto text = [&](const std::string& t) { return windows1252 ? *Windows1252FromUtf8(t) : t; };

  std::string out = "GemCad 5.0\r\n";
  out += Cat({"g ", std::to_string(design.gearTeeth), " ", Fixed(design.gearOffset, 1), "\r\n"});
  out += Cat({"y ", std::to_string(design.symmetry), design.mirror ? " y" : " n", "\r\n"});
  out += Cat({"I ", FormatExact(design.refractiveIndex, 0, 3), "\r\n"});
  for (const std::string& h : design.headings) out += Cat({"H ", text(h), "\r\n"});
  // Long tiers go on over lines that begin with an index.
  constexpr std::size_t kFacetsPerLine = 12;
  for (const GemCadTier& tier : design.tiers) {
    out += Cat({"a ", Exact(tier.angle), " ", Exact(tier.distance)});
    for (std::size_t i = 0; i < tier.facets.size(); ++i) {
      out += i > 0 && i % kFacetsPerLine == 0 ? "\r\n" : " ";
      out += IndexText(tier.facets[i].index);
      if (!tier.facets[i].name.empty()) out += Cat({" n ", text(tier.facets[i].name)});
    }
    if (!tier.instruction.empty()) out += Cat({" G ", text(tier.instruction)});
    out += "\r\n";
  }
  for (const std::string& f : design.footnotes) out += Cat({"F ", text(f), "\r\n"});
  return out;
}

std::string GemCadBeyondBounds(const GemCadDesign& design) {
  if (design.gearTeeth == 0 || std::abs(design.gearTeeth) > kGemCadMaxTeeth) return "the gear has more teeth than a GemCad design may";
  if (design.symmetry < 1 || design.symmetry > kGemCadMaxSymmetry) return "the symmetry order is more than a GemCad design may have";
  if (!(design.refractiveIndex >= kGemCadMinIndex && design.refractiveIndex <= kGemCadMaxIndex)) {
    return "the refractive index is outside the 1 to 10 of a GemCad design";
  }
  if (design.tiers.size() > kGemCadMaxTiers) {
    return Cat({"the design has ", std::to_string(design.tiers.size()), " tiers, more than the ",
                std::to_string(kGemCadMaxTiers), " of a GemCad design"});
  }
  std::size_t facets = 0;
  for (const GemCadTier& tier : design.tiers) {
    facets += tier.facets.size();
    if (!(std::abs(tier.angle) <= 90.0)) return "a tier's slope is not within 90 degrees";
    if (!(std::abs(tier.distance) <= kGemCadMaxDistance)) {
      return "a tier lies farther than a million units from the centre, beyond any GemCad design";
    }
    for (const GemCadFacet& facet : tier.facets) {
      if (!(std::abs(facet.index) <= kGemCadMaxGearIndex)) return "a gear index is beyond a million";
    }
  }
  if (facets > kGemCadMaxFacets) {
    return Cat({"the design has ", std::to_string(facets), " facets, more than the ",
                std::to_string(kGemCadMaxFacets), " of a GemCad design"});
  }
  return {};
}

std::string WriteGemCadFile(const std::filesystem::path& file, const GemCadDesign& design) {
  if (IsGemCadBinaryName(file)) {
    return Cat({"Cannot write \"", file.string(), "\": GemCad designs are written as .asc text; .gem files are only read"});
  }
  if (std::string why = GemCadBeyondBounds(design); !why.empty()) {
    return Cat({"Cannot write \"", file.string(), "\": ", why});
  }
  return WriteFileAtomically(file, GemCadText(design));
}

}  // namespace brillora
