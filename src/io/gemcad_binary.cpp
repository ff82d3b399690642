#include "io/gemcad_binary.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "io/file_text.h"
#include "model/units.h"

namespace brillora {

namespace {

struct Plane {
  double x = 0.0, y = 0.0, z = 0.0;

  double Length() const { return std::hypot(x, y, z); }
};

struct FacetRecord {
  std::size_t offset = 0;  // of the record in the file
  Plane p;
  std::int32_t tier = 0;
  std::string name;
  std::string instruction;
};

struct Trailer {
  std::int32_t symmetry = 1;
  std::int32_t mirror = 0;
  std::int32_t gear = 96;
  double refractiveIndex = 1.54;
  double gearOffset = 0.0;
};

// Where the corners of the facets leave their planes the most.
struct CornerDrift {
  double worst = 0.0;
  std::size_t facets = 0;  // facets with a corner beyond the tolerance
  std::size_t firstOffset = 0;
};

// The texts of a damaged file may hold any byte: kept as UTF-8 either way.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t cut = text.find_first_of("\r\n");
    lines.push_back(Utf8FromFileText(text.substr(0, cut)));
    if (cut == std::string_view::npos) break;
    text.remove_prefix(cut + (text.substr(cut, 2) == "\r\n" ? 2 : 1));
  }
  return lines;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

class BinaryReader {
 public:
  explicit BinaryReader(std::string_view bytes) : bytes_(bytes) {}

  GemCadReadResult Read() {
    if (bytes_.size() > kGemCadMaxBytes) return Fail(0, "the file is larger than any GemCad design");
    if (bytes_.empty()) return Fail(0, "the file is empty");
    // The list ends at an int32 0, but a facet's first double may begin with
    // four zero bytes too: a 0 is the end where a trailer can follow it.
    std::optional<Trailer> trailer;
    while (!trailer) {
      const std::size_t start = at_;
      if (Remaining() == 0) return Fail(at_, "the file ends before the trailer that follows the facets");
      std::string notTrailer;
      std::size_t notTrailerAt = 0;
      if (Remaining() >= 4 && Int32At(at_) == 0) {
        notTrailer = TrailerAt(at_, trailer);
        notTrailerAt = why_at_;
        if (trailer) break;
        // A facet's plane that begins with zero bytes has no symmetry order
        // where the trailer has it: what fails past that was a trailer.
        if (notTrailerAt == start + 8) notTrailer.clear();
      }
      if (records_.size() >= kGemCadMaxFacets) return Fail(start, "more facets than any GemCad design has");
      if (std::string why = Facet(); !why.empty()) {
        return notTrailer.empty() ? Fail(why_at_, why) : Fail(notTrailerAt, notTrailer);
      }
    }
    if (std::string why = Texts(); !why.empty()) return Fail(why_at_, why);
    return Design(*trailer);
  }

 private:
  std::size_t Remaining() const { return bytes_.size() - at_; }

  std::uint32_t Uint32At(std::size_t at) const {
    assert(at + 4 <= bytes_.size());
    std::uint32_t value = 0;
    for (int b = 3; b >= 0; --b) value = value << 8 | static_cast<unsigned char>(bytes_[at + b]);
    return value;
  }
  std::int32_t Int32At(std::size_t at) const { return std::bit_cast<std::int32_t>(Uint32At(at)); }
  double DoubleAt(std::size_t at) const {
    return std::bit_cast<double>(std::uint64_t{Uint32At(at + 4)} << 32 | Uint32At(at));
  }

  // Whether `size` bytes remain at the cursor; else where the file ends.
  bool Need(std::size_t size, std::string& why, const char* what) {
    if (Remaining() >= size) return true;
    why_at_ = at_;
    why = std::string("the file ends within ") + what;
    return false;
  }

  std::string Finite(double& value, const char* what) {
    value = DoubleAt(at_);
    if (!std::isfinite(value)) {
      why_at_ = at_;
      return std::string(what) + " is not a number";
    }
    at_ += 8;
    return {};
  }

  // The fixed part of the trailer at `at`, when its numbers are a design's;
  // else why they are not.
  std::string TrailerAt(std::size_t at, std::optional<Trailer>& trailer) {
    constexpr std::size_t kFixed = 4 + 4 + 4 + 4 + 4 + 8 + 4 + 8;
    if (bytes_.size() - at < kFixed) {
      why_at_ = at;
      return "the file ends within the trailer";
    }
    Trailer t;
    t.symmetry = Int32At(at + 8);
    t.mirror = Int32At(at + 12);
    t.gear = Int32At(at + 16);
    t.refractiveIndex = DoubleAt(at + 20);
    t.gearOffset = DoubleAt(at + 32);
    const auto fail = [&](std::size_t field, const char* why) {
      why_at_ = at + field;
      return std::string(why);
    };
    if (t.symmetry < 1 || t.symmetry > kGemCadMaxSymmetry) return fail(8, "the symmetry order must be 1 to 1000");
    if (t.gear == 0 || std::abs(static_cast<std::int64_t>(t.gear)) > kGemCadMaxTeeth) {
      return fail(16, "the gear needs 1 to 10000 teeth");
    }
    if (!(t.refractiveIndex >= kGemCadMinIndex && t.refractiveIndex <= kGemCadMaxIndex)) {
      return fail(20, "the refractive index must be a number from 1 to 10");
    }
    if (!std::isfinite(t.gearOffset)) return fail(32, "the gear offset is not a number");
    trailer = t;
    at_ = at + kFixed;
    return {};
  }

  std::string Facet() {
    std::string why;
    FacetRecord record;
    record.offset = at_;
    if (!Need(8 * 3 + 4 + 1, why, "a facet")) return why;
    for (double* coordinate : {&record.p.x, &record.p.y, &record.p.z}) {
      if (why = Finite(*coordinate, "a facet's plane"); !why.empty()) return why;
    }
    const double length = record.p.Length();
    // p.x = 1 lies 1/|p| from the centre.
    if (!(length * kGemCadMaxDistance >= 1.0) || !std::isfinite(length)) {
      why_at_ = record.offset;
      return "a facet's plane lies farther than a million units from the centre or is not a number";
    }
    record.tier = Int32At(at_);
    at_ += 4;
    const std::size_t textSize = static_cast<unsigned char>(bytes_[at_++]);
    if (!Need(textSize + 4, why, "a facet's name")) return why;
    const std::string_view text = bytes_.substr(at_, textSize);
    at_ += textSize + 4;  // the marker after the text says nothing the design needs
    const std::size_t tab = text.find('\t');
    record.name = Utf8FromFileText(text.substr(0, tab));
    if (tab != std::string_view::npos) record.instruction = Utf8FromFileText(text.substr(tab + 1));
    for (bool more = true; more;) {
      if (!Need(8 * 3 + 4, why, "a facet's corners")) return why;
      Plane corner;
      for (double* coordinate : {&corner.x, &corner.y, &corner.z}) {
        if (why = Finite(*coordinate, "a corner"); !why.empty()) return why;
      }
      more = Int32At(at_) != 0;
      at_ += 4;
      Drift(record, corner, length);
    }
    records_.push_back(std::move(record));
    return {};
  }

  void Drift(const FacetRecord& record, const Plane& corner, double length) {
    const double off = std::abs(record.p.x * corner.x + record.p.y * corner.y + record.p.z * corner.z - 1.0) / length;
    if (off <= kGemCadCornerTolerance) return;
    // A facet counts once, however many of its corners drift.
    const bool sameFacet = drift_.facets > 0 && lastDriftingFacet_ == record.offset;
    if (!sameFacet) {
      if (drift_.facets == 0) drift_.firstOffset = record.offset;
      ++drift_.facets;
      lastDriftingFacet_ = record.offset;
    }
    drift_.worst = std::max(drift_.worst, std::isfinite(off) ? off : HUGE_VAL);
  }

  std::string Texts() {
    while (at_ < bytes_.size()) {
      if (texts_.size() >= kGemCadMaxTexts) {
        why_at_ = at_;
        return "more header lines than any GemCad design has";
      }
      const std::size_t size = static_cast<unsigned char>(bytes_[at_]);
      if (Remaining() < 1 + size) {
        why_at_ = at_;
        return "the file ends within a header line";
      }
      texts_.push_back(bytes_.substr(at_ + 1, size));
      at_ += 1 + size;
    }
    return {};
  }

  GemCadReadResult Design(const Trailer& trailer) {
    GemCadReadResult result;
    GemCadDesign& d = result.design;
    d.gearTeeth = trailer.gear;
    d.gearOffset = trailer.gearOffset;
    d.symmetry = trailer.symmetry;
    d.mirror = trailer.mirror != 0;
    d.refractiveIndex = trailer.refractiveIndex;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
      for (std::string& line : Lines(texts_[i])) {
        (i + 1 < texts_.size() ? d.headings : d.footnotes).push_back(std::move(line));
      }
    }
    if (records_.empty()) return Fail(0, "there are no facets");
    // Tiers in the order of their numbers; within a number, one tier for
    // each slope and distance, in the file's order.
    std::vector<const FacetRecord*> order;
    for (const FacetRecord& r : records_) order.push_back(&r);
    std::stable_sort(order.begin(), order.end(),
                     [](const FacetRecord* a, const FacetRecord* b) { return a->tier < b->tier; });
    std::vector<std::int32_t> numbers;  // the tier number of each tier of the design
    for (const FacetRecord* r : order) {
      const double distance = 1.0 / r->p.Length();
      const double angle = Slope(r->p);
      std::size_t t = d.tiers.size();
      for (std::size_t k = d.tiers.size(); k-- > 0 && numbers[k] == r->tier;) {
        if (SameTier(d.tiers[k], angle, distance)) t = k;
      }
      if (t == d.tiers.size()) {
        if (d.tiers.size() >= kGemCadMaxTiers) return Fail(r->offset, "more tiers than any GemCad design has");
        GemCadTier tier;
        tier.angle = angle;
        tier.distance = distance;
        d.tiers.push_back(std::move(tier));
        numbers.push_back(r->tier);
      }
      GemCadTier& tier = d.tiers[t];
      tier.facets.push_back({IndexOf(r->p, trailer.gear), r->name});
      if (tier.instruction.empty()) tier.instruction = r->instruction;
    }
    if (drift_.facets > 0) {
      result.warnings.push_back("the corners of " + std::to_string(drift_.facets) +
                                (drift_.facets == 1 ? " facet lie" : " facets lie") + " up to " +
                                Number(drift_.worst) + " off their planes (the first at byte " +
                                std::to_string(drift_.firstOffset) + "); the stone is built from the planes");
    }
    return result;
  }

  static double Slope(const Plane& p) {
    const double slope = Degrees(std::atan2(std::hypot(p.x, p.y), std::abs(p.z)));
    return std::signbit(p.z) ? -slope : slope;
  }

  static bool SameTier(const GemCadTier& tier, double angle, double distance) {
    return std::signbit(tier.angle) == std::signbit(angle) && std::abs(tier.angle - angle) <= 1e-9 &&
           std::abs(tier.distance - distance) <= 1e-12 * std::max(1.0, distance);
  }

  // The gear position, from +y toward +x for a positive count, in
  // [0, |teeth|); within a rounding of a whole tooth it is that tooth.
  static double IndexOf(const Plane& p, int teeth) {
    if (std::hypot(p.x, p.y) <= 1e-15 * p.Length()) return 0.0;
    const double count = std::abs(teeth);
    double index = std::atan2(p.x, p.y) / (2 * std::numbers::pi) * teeth;
    index = std::fmod(index, count);
    if (index < 0) index += count;
    const double whole = std::round(index);
    if (std::abs(index - whole) < 1e-9) index = whole == count ? 0.0 : whole;
    return index;
  }

  GemCadReadResult Fail(std::size_t offset, const std::string& why) const {
    GemCadReadResult failed;
    failed.error = "Invalid GemCad design: byte " + std::to_string(offset) + ": " + why;
    return failed;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  std::size_t why_at_ = 0;  // where the last failure lies
  std::vector<FacetRecord> records_;
  std::vector<std::string_view> texts_;
  CornerDrift drift_;
  std::size_t lastDriftingFacet_ = 0;
};

}  // namespace

GemCadReadResult ReadGemCadBinary(std::string_view bytes) { return BinaryReader(bytes).Read(); }

}  // namespace brillora
