#pragma once

#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/trace_options.h"
#include "io/image_file.h"
#include "light/illumination_model.h"

namespace brillora::cli {

// The surroundings' picture options.
struct PictureOptions {
  std::optional<std::string> front;
  std::optional<std::string> back;
  int law = 0;
  std::optional<int> head;
  bool body = false;
  int background = 100;
};

// Takes `word` and its value when it is one of the picture options; false,
// with nothing taken, for any other word. Bad values throw UsageError.
bool TakePictureOption(const std::string& word, Arguments& args, PictureOptions& p);

// Checks the picture options against the trace options once all are read.
void FinishPictureOptions(const TraceSettings& trace, const PictureOptions& p);

// The format of the picture named by -o, from its extension; a missing name
// or an unknown extension throws UsageError.
ImageFormat OutputPictureFormat(const std::optional<std::string>& output);

// The light map as the options set it: the masks first, then the pictures
// they weigh, then the mode that reads them. A picture that cannot be read
// throws CommandFailure. Under --light aset, --head gives the ASET map's
// blue cone and darkens nothing.
void SetUpLight(IlluminationModel& light, const TraceSettings& trace, const PictureOptions& p);

// The light of the commands that take no picture options: the zones, the
// surroundings --light lamps or aset make, and the mode.
void SetUpLight(IlluminationModel& light, const TraceSettings& trace);

inline constexpr const char* kPictureOptionsUsage =
    "[--front FILE] [--back FILE] [--law const|cos|cos2|cos4] [--head DEG] [--body] [--bg PERCENT]";

}  // namespace brillora::cli
