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
       "[--view crown|pavilion|RX,RY] [--light grey|redblue|zones] [--zones A1,A2,A3] "
       "[--ri X | --material NAME] [--width W --height H] [--pick X,Y] [--json]",
       RunTrace},
      {"render", "draw a view of the stone into a PNG, BMP, JPEG or GIF file",
       "brillora-cli render [DESIGN | --default] -o OUT.png|.bmp|.jpg|.gif [--width W --height H] "
       "[--no-aa] [--no-edges] [--step S] [--reflections TAG | --reflected] [--no-surface] "
       "[--view crown|pavilion|RX,RY] [--light grey|redblue|zones] [--zones A1,A2,A3] "
       "[--ri X | --material NAME] [--front FILE] [--back FILE] [--law const|cos|cos2|cos4] "
       "[--head DEG] [--body] [--bg PERCENT]",
       RunRender},
      {"animate", "write the wobble of the stone as a looping animated GIF",
       "brillora-cli animate [DESIGN | --default] -o OUT.gif [--width W --height H] "
       "[--reflections TAG | --reflected] [--no-surface] "
       "[--light grey|redblue|zones] [--zones A1,A2,A3] [--ri X | --material NAME]\n"
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
       "[--view crown|pavilion|RX,RY] [--light grey|redblue|zones] [--zones A1,A2,A3] "
       "[--ri X | --material NAME] [--width W --height H] [--front FILE] [--back FILE] "
       "[--law const|cos|cos2|cos4] [--head DEG] [--body] [--bg PERCENT]",
       RunLightmap},
      {"analyze", "compute the light performance figures and tilt curves of the stone",
       "brillora-cli analyze [DESIGN | --default] [--head DEG] [--depth N] [--tilt T] [--tilt-step DEG] "
       "[--azimuth DEG[,DEG...]] [--ri X | --material NAME] [--json] [--plot OUT.png|OUT.svg]\n"
       "  --depth: meetings with the surface from inside, 1 to 30 (default 9); --head: half-angle of the\n"
       "  head's cone (default 10); --tilt: the curves run from -T to +T degrees (default 30)\n"
       "  in steps of --tilt-step (default 1); --azimuth: the tilt axes, in degrees from the\n"
       "  model's x axis (default 0 and half a sector); --plot: draws the curves\n"
       "  exit status: 2 for a usage error, 3 for an unreadable design, 4 when OUT cannot be written",
       RunAnalyze},
      {"sheet", "print the data sheet or the image onto a page, as a PDF or a PNG picture",
       "brillora-cli sheet [DESIGN | --default] -o OUT.pdf|OUT.png [--kind data|image] [--page A4|Letter] "
       "[--margins TOP,LEFT,RIGHT,BOTTOM] [--reflections TAG] [--no-edges] [--ri X | --material NAME]\n"
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
