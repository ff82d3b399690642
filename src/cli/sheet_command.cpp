#include <algorithm>
#include <ostream>
#include <sstream>
#include <thread>

#include <QGuiApplication>
#include <QPageSize>

#include "cli/commands.h"
#include "cli/gemcad_input.h"
#include "cli/trace_options.h"
#include "io/image_file.h"
#include "light/illumination_model.h"
#include "optimize/cutting_tolerance.h"
#include "output/gemcad_cutting_table.h"
#include "output/print_layout.h"
#include "output/print_target.h"
#include "output/sheet_painter.h"

namespace brillora::cli {
namespace {

constexpr int kPictureDpi = 150;  // a picture of the page: A4 is 1240 x 1754 pixels

Margins ParseMargins(const std::optional<std::string>& text) {
  std::vector<double> values;
  if (text) {
    std::stringstream stream(*text);
    std::string item;
    while (std::getline(stream, item, ',')) {
      const auto value = ParseNumber(item);
      if (!value || *value < 0 || *value > 100) break;
      values.push_back(*value);
    }
    if (!text->empty() && text->back() == ',') values.clear();
  }
  if (values.size() != 4) throw UsageError{"--margins needs four per cent values TOP,LEFT,RIGHT,BOTTOM from 0 to 100"};
  const Margins m{values[0], values[1], values[2], values[3]};
  if (m.top + m.bottom > 98 || m.left + m.right > 98)
    throw UsageError{"--margins must leave at least 2 per cent of the page each way"};
  return m;
}

// Text needs a font database, which needs an application; none is shown.
struct FontsWithoutDisplay {
  int argc = 3;
  char name[13] = "brillora-cli";
  char option[10] = "-platform";
  char platform[10] = "offscreen";
  char* argv[4] = {name, option, platform, nullptr};
  std::optional<QGuiApplication> app;
  FontsWithoutDisplay() {
    if (QGuiApplication::instance() == nullptr) app.emplace(argc, argv);
  }
};

}  // namespace

int RunSheet(Arguments& args, std::ostream& out) {
  TraceSettings trace;
  std::optional<std::string> output;
  ContentKind kind = ContentKind::DataSheet;
  QPageSize::PageSizeId pageId = QPageSize::A4;
  std::optional<Margins> margins;
  bool edges = true;
  bool tolerances = false;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "-o") {
      output = args.TakeValue();
      if (!output) throw UsageError{"-o needs a file name"};
    } else if (word == "--kind") {
      const auto value = args.TakeValue();
      if (value != "data" && value != "image") throw UsageError{"--kind needs data or image"};
      kind = value == "data" ? ContentKind::DataSheet : ContentKind::Image;
    } else if (word == "--page") {
      const auto value = args.TakeValue();
      if (value != "A4" && value != "Letter") throw UsageError{"--page needs A4 or Letter"};
      pageId = value == "A4" ? QPageSize::A4 : QPageSize::Letter;
    } else if (word == "--margins") {
      margins = ParseMargins(args.TakeValue());
    } else if (word == "--no-edges") {
      edges = false;
    } else if (word == "--tolerances") {
      tolerances = true;
    } else if ((word == "--default" || word == "--reflections" || word == "--ri" || word == "--material" ||
                word == "--custom-dispersion" || word == "--dispersion" || (!word.empty() && word.front() != '-')) &&
               TakeTraceOption(word, args, trace, {})) {
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }
  FinishTraceOptions(trace);
  if (!output) throw UsageError{"give the page file with -o"};
  const auto format = ImageFormatForName(*output);
  const bool pdf = output->size() > 4 && output->substr(output->size() - 4) == ".pdf";
  if (!pdf && format != ImageFormat::Png) throw UsageError{"the page file must end in .pdf or .png"};

  const DesignReadResult read = LoadDesign(trace.file);
  const TraceOptions options = TracerOptions(trace, read.refractiveIndex);
  IlluminationModel light;
  const PaintStyle style{light.BGColor(), edges, MaxLevel(trace) < 0, -1};
  const std::optional<double> dispersion =
      trace.threeLines ? std::optional<double>(MaterialDispersion(trace.dispersion, read)) : std::nullopt;
  const auto subjectOf = [&](std::shared_ptr<const Stone> stone) {
    return SheetSubject{RefineRequest{std::move(stone), light.Snapshot(), IdentityFrame(), MaxLevel(trace), options,
                                      style, 0, 0, dispersion},
                        {}, {}, options.RefractiveIndex, 0, {}};
  };
  SheetSubject subject = subjectOf(nullptr);
  EditorObserver quiet;
  std::unique_ptr<StepEditor> editor;
  if (IsGemCadInput(trace.file)) {
    // A GemCad design is printed as its stone, shown as the desktop shows
    // it, with its own tiers in the cutting table.
    if (tolerances) {
      throw CommandFailure{kExitUnreadable, "brillora-cli: the tolerance column needs a design of steps (.brl or .txt)"};
    }
    const GemCadDesign gemcad = LoadGemCad(*trace.file);
    subject = subjectOf(std::make_shared<const Stone>(GemCadUnitStone(gemcad)));
    subject.gemCadTiers = GemCadCuttingRows(gemcad);
  } else {
    editor = StartEditor(trace.file, read, quiet);
    const DesignState& state = editor->State();
    subject = subjectOf(state.stone);
    subject.crown = state.CrownSteps;
    subject.pavilion = state.PavilionSteps;
    subject.symOrder = state.SymOrder;
  }
  if (tolerances && kind == ContentKind::DataSheet) {
    // The cost of a 0.1 degree error in each typed slope, for the default
    // merit in the sheet's material.
    MeritSettings merit;
    merit.analysis.RefractiveIndex = options.RefractiveIndex;
    const int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    // A design whose merit cannot be judged (no stone) gets no column.
    if (const auto costs = SlopeCostsByStep(editor->CurrentDesign(), merit, threads)) {
      subject.tolerances = SlopeTolerances{costs->crown, costs->pavilion};
    }
  }

  FontsWithoutDisplay fonts;
  const QPageSize page(pageId);
  const QString file = QString::fromStdString(*output);
  std::unique_ptr<PrintTarget> target;
  if (pdf) {
    target = std::make_unique<PdfPrintTarget>(file, page);
  } else {
    target = std::make_unique<ImagePrintTarget>(page, kPictureDpi, kPictureDpi);
  }
  // The page as OK prints it: the preview measured from the printer, the
  // content rectangle on it, and that rectangle in printer pixels.
  const PageGeometry geometry = PBAlign(*target->Metrics(), kInitialPreviewHeight);
  // Without margins, the rectangle the window first opens with.
  const PageRect rect = margins ? RectFromMargins(*margins, geometry.width, geometry.height)
                                : DefaultRect(geometry.width, geometry.height);
  const SheetArea area = PrinterArea(rect, geometry);
  const auto fail = [&](const QString& reason) {
    return CommandFailure{kExitFailed, "cannot write " + *output + ": " + reason.toStdString()};
  };
  SheetPainter painter;
  const QString failure =
      PrintCopies(*target, 1, [&](QPainter& page) { painter.DrawSheet(page, area, kind, subject); });
  if (!failure.isEmpty()) throw fail(failure);
  if (!pdf) {
    const auto& pages = static_cast<const ImagePrintTarget&>(*target).Pages();
    if (const auto error = WriteImageFile(pages.front(), *output, ImageFormat::Png))
      throw fail(QString::fromStdString(*error));
  }
  out << "wrote " << *output << " (" << (kind == ContentKind::DataSheet ? "data sheet" : "image") << ", "
      << (pageId == QPageSize::A4 ? "A4" : "Letter") << ", content " << area.w << " x " << area.h << " at "
      << area.x << ", " << area.y << " of " << target->Metrics()->pageWidth << " x "
      << target->Metrics()->pageHeight << " printer pixels)\n";
  return kExitOk;
}

}  // namespace brillora::cli
