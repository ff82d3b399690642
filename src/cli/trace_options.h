#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "io/design_file.h"
#include "model/design.h"
#include "params/materials.h"
#include "trace/frame.h"
#include "trace/beam_optics.h"
#include "trace/screen_polygon.h"

namespace brillora::cli {

// The options every command that traces the stone shares: the design, the
// reflections, the view, the light and the stone's refractive index.
// Surroundings made in code for the pictures mode (--light lamps, aset).
enum class MadeLight { None, Lamps, Aset };

// The material as --ri, --material and --custom-dispersion give it, for the
// commands that take them.
struct MaterialChoice {
  std::optional<double> refractiveIndex;
  bool indexGiven = false;
  bool materialGiven = false;
  // The material's dispersion, from --material or --custom-dispersion.
  std::optional<double> dispersion;
  bool customDispersionGiven = false;
};

// The value of `option`, a number from `least` to `most`; else a usage
// error that says it needs `what` in that range.
double NumberIn(Arguments& args, const std::string& option, double least, double most, const char* what);
int IntegerIn(Arguments& args, const std::string& option, int least, int most, const char* what);

// Takes `word` when it is one of those options (with its value); true when it did.
bool TakeMaterialOption(const std::string& word, Arguments& args, MaterialChoice& choice);
// Options given together that say different things are a usage error.
void CheckMaterialChoice(const MaterialChoice& choice);

struct TraceSettings : MaterialChoice {
  std::optional<std::string> file;
  int reflections = 13;  // the "N of Reflections" tag: 13 is the menu's item "12"
  bool reflectionsGiven = false;
  bool reflected = false;
  bool surface = true;
  Frame view = IdentityFrame();
  int lightMode = 0;
  MadeLight madeLight = MadeLight::None;
  bool lightGiven = false;
  std::optional<std::vector<double>> zones;
  // --dispersion: the picture traced at three lines, one per colour channel.
  bool threeLines = false;
  int width = 0;
  int height = 0;
};

// Limits of --width and --height for one command.
struct PictureSizeLimits {
  int least = 0;
  int most = 0;
};

// Takes `word` and its value when it is one of the shared options (a design
// name counts too). False, with nothing taken, for any other word. Bad values
// throw UsageError.
bool TakeTraceOption(const std::string& word, Arguments& args, TraceSettings& settings,
                     const PictureSizeLimits& limits);

// A mouse turn of the identity: rx degrees about the screen's x axis, then ry
// degrees about its y axis.
Frame TurnedView(double rx, double ry);

// The values of --ri, --material and --custom-dispersion: a refractive index
// the optics can use, a listed material, a dispersion from 0 to 0.3.
double TakeRefractiveIndex(Arguments& args);
Material TakeMaterial(Arguments& args);
double TakeCustomDispersion(Arguments& args);

// `count` numbers separated by commas, the value of `option`. Bad values throw
// UsageError.
std::vector<double> ParseNumbers(const std::optional<std::string>& text, std::size_t count, const std::string& option);

// Checks the options that exclude each other once all are read.
void FinishTraceOptions(TraceSettings& settings);

// The tracer's switches: the refractive index chosen on the command line, or
// else the one the design file holds.
TraceOptions TracerOptions(const TraceSettings& settings, double designIndex);

// The dispersion of the material: given on the command line, or else the
// one the design file holds, or else the default material's, as the desktop
// starts with it.
double MaterialDispersion(std::optional<double> given, const DesignReadResult& read);

// What a tracing command traces: the design the options name (or the default
// design), built as the desktop's editor installs it, the tracer's switches
// for it and the material's dispersion. An unreadable file throws
// CommandFailure.
struct TraceSubject {
  std::shared_ptr<const Stone> stone;
  TraceOptions options;
  double dispersion = 0.0;
  // The dispersion to trace the pictures with: with --dispersion only.
  std::optional<double> PictureDispersion(const TraceSettings& settings) const {
    return settings.threeLines ? std::optional<double>(dispersion) : std::nullopt;
  }
};
TraceSubject LoadTraceSubject(const TraceSettings& settings);

// The deepest level the tracer cuts: the tag minus one (-1: no tracing).
inline int MaxLevel(const TraceSettings& settings) { return settings.reflections - 1; }

// A pixel of the traced picture, as --pick X,Y names it.
struct PickPixel {
  int x = 0;
  int y = 0;
};

// The value of --pick: two whole numbers separated by a comma. Bad values
// throw UsageError.
PickPixel ParsePickPixel(const std::optional<std::string>& text);
// The pixel must lie inside the picture of --width x --height.
void CheckPickInside(const PickPixel& pixel, const TraceSettings& settings);
// The polygon whose step the picture window's double click selects at the
// pixel of a picture of `width` x `height` traced into `polygons`; nullptr
// when the click selects nothing.
const FasetOnScreen* PickedPolygon(const ArrayOfFOS& polygons, const PickPixel& pixel, int width, int height);

// The usage text of the shared options.
inline constexpr const char* kTraceOptionsUsage =
    "[--reflections TAG | --reflected] [--no-surface] [--view crown|pavilion|RX,RY] "
    "[--light grey|redblue|zones|lamps|aset] [--zones A1,A2,A3] [--ri N | --material NAME] "
    "[--custom-dispersion D] [--dispersion]";

}  // namespace brillora::cli
