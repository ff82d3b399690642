#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <QImage>

#include "io/image_file.h"
#include "view/paint_smooth.h"
#include "view/refined_pass.h"

namespace brillora {

// Where an exported picture goes when it goes to a file.
struct ExportFile {
  std::filesystem::path path;
  ImageFormat format = ImageFormat::Bmp;
};

// One export: the view as the refined pass draws it, and the file it is
// written to (none: the picture is handed back for the clipboard).
struct ExportTask {
  RefineRequest request;
  std::optional<ExportFile> file;
};

struct ExportOutcome {
  enum class Kind { Done, Cancelled, TooLarge, WriteFailed };
  Kind kind = Kind::Done;
  QImage picture;     // the drawn picture, when no file was asked for
  std::string error;  // the writer's reason, for WriteFailed
};

// Draws and writes one export. `stop` is asked while drawing and once more
// before the written file replaces the old one, so a cancelled export leaves
// any old file as it was. Safe on a worker thread: the task holds its inputs
// by value or as immutable shared values.
ExportOutcome RunExport(const ExportTask& task, const StopCheck& stop = {});

}  // namespace brillora
