#include "cli/commands.h"

#include "cli/gemcad_input.h"
#include "model/default_design.h"
#include "params/materials.h"

namespace brillora::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"info", "print a design and its stone as JSON",
       "brillora-cli info [DESIGN | --default] [--diameter MM] [--material NAME | --sg G] "
       "[--facets]",
       RunInfo},
      {"edit", "apply the design window's step editing to a design and print the result",
       "brillora-cli edit [DESIGN | --default] --do \"ACTION\" ... [-o OUT.brl|OUT.txt]\n"
       "actions: symmetry N, side crown|pavilion, tab T, new, new-step, clear-next,\n"
       "  split S, shift S, slope DEG, slope-bar TENTHS, maxslope DEG, maxslope-bar TENTHS,\n"
       "  position BAR, auto on|off, datatab T, undo, redo\n"
       "exit status: 2 for a usage error or an action the controls refuse,\n"
       "  3 for an unreadable design, 4 when OUT cannot be written",
       RunEdit},
      {"trace", "trace a view of the stone and print its finished beams",
       "brillora-cli trace [DESIGN | --default] [--reflections TAG] [--reflected] [--no-surface] "
       "[--view crown|pavilion|RX,RY] [--light grey|redblue|zones|lamps|aset] [--zones A1,A2,A3] "
       "[--ri X | --material NAME] [--custom-dispersion D] [--dispersion] [--width W --height H] [--pick X,Y] "
       "[--json]\n"
       "  --dispersion: traced at 656.3, 587.6 and 486.1 nm, one trace per colour channel (--json: under \"lines\")",
       RunTrace},
      {"render", "draw a view of the stone into a PNG, BMP, JPEG or GIF file",
       "brillora-cli render [DESIGN | --default] -o OUT.png|.bmp|.jpg|.gif [--width W --height H] "
       "[--no-aa] [--no-edges] [--step S] [--reflections TAG | --reflected] [--no-surface] "
       "[--view crown|pavilion|RX,RY] [--light grey|redblue|zones|lamps|aset] [--zones A1,A2,A3] "
       "[--ri X | --material NAME] [--custom-dispersion D] [--dispersion] [--front FILE] [--back FILE] "
       "[--law const|cos|cos2|cos4] [--head DEG] [--body] [--bg PERCENT]\n"
       "  --dispersion: traced at 656.3, 587.6 and 486.1 nm, one trace per colour channel;\n"
       "  --light lamps: small white lamps on black; --light aset: the ASET map, --head giving its blue cone",
       RunRender},
      {"animate", "write the wobble of the stone as a looping animated GIF",
       "brillora-cli animate [DESIGN | --default] -o OUT.gif [--width W --height H] "
       "[--reflections TAG | --reflected] [--no-surface] "
       "[--light grey|redblue|zones|lamps|aset] [--zones A1,A2,A3] [--ri X | --material NAME] "
       "[--custom-dispersion D] [--dispersion]\n"
       "the wobble is centred on the crown's top view: --view is not taken",
       RunAnimate},
      {"export", "write the design as a GemCad text design or the stone as a 3D model in millimetres",
       "brillora-cli export [DESIGN | --default] -o OUT.asc|OUT.stl|OUT.obj [--diameter MM]\n"
       "  a GemCad text design, or\n"
       "  binary STL or OBJ with one group per tier and side, 10 mm across the girdle's\n"
       "  corners unless --diameter says otherwise\n"
       "exit status: 2 for a usage error, 3 for an unreadable design or one that makes no stone,\n"
       "  4 when OUT cannot be made (more than a GemCad file holds) or written",
       RunExport},
      {"lightmap", "draw the light map of a traced view: where its light comes from",
       "brillora-cli lightmap [DESIGN | --default] -o OUT.png|.bmp|.jpg|.gif [--size PX] "
       "[--display-turn RX,RY] [--reflections TAG | --reflected] [--no-surface] "
       "[--view crown|pavilion|RX,RY] [--light grey|redblue|zones|lamps|aset] [--zones A1,A2,A3] "
       "[--ri X | --material NAME] [--custom-dispersion D] [--dispersion] [--width W --height H] "
       "[--front FILE] [--back FILE] "
       "[--law const|cos|cos2|cos4] [--head DEG] [--body] [--bg PERCENT]",
       RunLightmap},
      {"analyze", "compute the light performance figures and tilt curves of the stone",
       "brillora-cli analyze [DESIGN | --default] [--head DEG] [--depth N] [--tilt T] [--tilt-step DEG] "
       "[--azimuth DEG[,DEG...]] [--ri X | --material NAME] [--custom-dispersion D] [--json] "
       "[--plot OUT.png|OUT.svg]\n"
       "  --depth: meetings with the surface from inside, 1 to 30 (default 9); --head: half-angle of the\n"
       "  head's cone (default 10); --tilt: the curves run from -T to +T degrees (default 30)\n"
       "  in steps of --tilt-step (default 1); --azimuth: the tilt axes, in degrees from the\n"
       "  model's x axis (default 0 and half a sector); --plot: draws the curves\n"
       "  exit status: 2 for a usage error, 3 for an unreadable design, 4 when OUT cannot be written",
       RunAnalyze},
      {"optimize", "find the slopes and positions that give the stone the most light, and their cutting tolerances",
       "brillora-cli optimize [DESIGN | --default] [--vary SIDE:STEP:slope|position ...] "
       "[--weights iso=W,cos=W,sc2=W,leakage=W,fire=W] [--tilt T] [--tilt-step S] [--range DEG] "
       "[--max-total-depth PCT] [--min-crown-height PCT] [--max-crown-height PCT] [--min-table PCT] "
       "[--head DEG] [--depth N] [--ri X | --material NAME] [--custom-dispersion D] [--threads N] "
       "[--max-evaluations N] "
       "[-o OUT.brl|OUT.txt|OUT.asc] [--json]\n"
       "  SIDE: crown or pavilion; STEP: the step's tab, girdle or a number (default: the slopes of both\n"
       "  main tiers); --weights: the figures named count (default a third each of ISO, COS and SC2; fire\n"
       "  with the material's dispersion, or the file's, or --custom-dispersion);\n"
       "  --tilt, --tilt-step: the views, face up and tilted about the two default axes (default 20 and 10:\n"
       "  9 views); --range: slopes vary up to DEG either side of the start (default 5), positions\n"
       "  3 steps of the position bar per degree (default 0.15); limits in per cent of the girdle's width;\n"
       "  --max-evaluations: candidates judged (default 30 per variable and 30 more)\n"
       "  exit status: 2 for a usage error or a step that is Auto or does not exist, 3 for an unreadable\n"
       "  design, 4 when the start keeps no limit or OUT cannot be written",
       RunOptimize},
      {"sheet", "print the data sheet or the image onto a page, as a PDF or a PNG picture",
       "brillora-cli sheet [DESIGN | --default] -o OUT.pdf|OUT.png [--kind data|image] [--page A4|Letter] "
       "[--margins TOP,LEFT,RIGHT,BOTTOM] [--reflections TAG] [--no-edges] [--ri X | --material NAME] "
       "[--custom-dispersion D] [--dispersion] [--tolerances]\n"
       "  --tolerances: the data sheet gets the column \"\u00b10.1\u00b0\": the change of merit in per cent\n"
       "  that a slope cut 0.1 degree off costs (the worse way; the merit as optimize's default)\n"
       "exit status: 2 for a usage error, 3 for an unreadable design, 4 when OUT cannot be written",
       RunSheet},
      {"thumbnail", "draw the stone face up into a square PNG picture, for the desktop's file managers",
       "brillora-cli thumbnail DESIGN OUT.png [--size N]\n"
       "  --size: the picture's side in pixels, 16 to 1024 (default 256); OUT is written as PNG\n"
       "  whatever its name\n"
       "exit status: 2 for a usage error, 3 for an unreadable design, 4 when OUT cannot be written",
       RunThumbnail},
  };
  return commands;
}

DesignReadResult LoadDesign(const std::optional<std::string>& file) {
  if (!file) {
    DesignReadResult result;
    result.design = DefaultDesign();
    result.refractiveIndex = FindMaterial(kDefaultMaterial)->refractiveIndex;
    return result;
  }
  // A GemCad design is read as its stone; the design stands in for its index.
  if (IsGemCadInput(file)) {
    DesignReadResult result;
    result.design = DefaultDesign();
    result.refractiveIndex = LoadGemCad(*file).refractiveIndex;
    return result;
  }
  DesignReadResult result = OpenDesignFile(*file);
  if (!result.ok()) throw CommandFailure{kExitUnreadable, result.error};
  return result;
}

}  // namespace brillora::cli

namespace brillora::cli {

std::unique_ptr<StepEditor> StartEditor(const std::optional<std::string>& file,
                                        const DesignReadResult& read, EditorObserver& observer) {
  if (!file) return std::make_unique<StepEditor>(observer);
  if (IsGemCadInput(file)) {
    throw CommandFailure{kExitUnreadable, "brillora-cli: a GemCad design is read as its stone; editing needs a .brl or .txt design"};
  }
  return std::make_unique<StepEditor>(read.design, observer);
}

std::shared_ptr<const Stone> InstalledStone(const std::optional<std::string>& file,
                                            const DesignReadResult& read) {
  if (IsGemCadInput(file)) return std::make_shared<const Stone>(GemCadStone(LoadGemCad(*file)));
  EditorObserver quiet;
  return StartEditor(file, read, quiet)->State().stone;
}

}  // namespace brillora::cli
