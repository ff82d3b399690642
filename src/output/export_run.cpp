#include "output/export_run.h"

namespace brillora {

ExportOutcome RunExport(const ExportTask& task, const StopCheck& stop) {
  const auto stopped = [&stop] { return stop && stop(); };
  RefinedPass pass;
  std::optional<QImage> picture = pass.Draw(task.request, stop);
  if (!picture) return {stopped() ? ExportOutcome::Kind::Cancelled : ExportOutcome::Kind::TooLarge, {}, {}};
  if (!task.file) return {ExportOutcome::Kind::Done, std::move(*picture), {}};
  const auto error = WriteImageFile(*picture, task.file->path, task.file->format, stopped);
  if (error && *error == kAbandonedWrite) return {ExportOutcome::Kind::Cancelled, {}, {}};
  if (error) return {ExportOutcome::Kind::WriteFailed, {}, *error};
  return {};
}

}  // namespace brillora
