#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace brillora {

// A file replaced whole or not at all. The new content goes to a temporary
// file with a short name of its own in the destination's folder, so that a
// long destination name still leaves room for it, and is renamed over the
// destination by Commit. A symbolic link is followed: its target is replaced
// and the link stays. Until Commit succeeds, and after any failure, the old
// file is as it was, and the temporary file never outlives the object.
class AtomicSave {
 public:
  explicit AtomicSave(const std::filesystem::path& file);
  ~AtomicSave();
  AtomicSave(const AtomicSave&) = delete;
  AtomicSave& operator=(const AtomicSave&) = delete;

  // False once anything failed; Error then says why.
  bool Ok() const { return error_.empty(); }
  bool Write(const void* data, std::size_t size);
  // Makes the new content the destination's, with the old file's permissions.
  bool Commit();
  // The system's reason for the failure, or "Existing file NAME is not
  // writable" for a destination the user may not write ("... is not a
  // regular file" for a device or a FIFO, which is never replaced).
  const std::string& Error() const { return error_; }

 private:
  void Fail(int errorNumber);
  void Discard();

  std::filesystem::path target_;
  std::string temporary_;
  int fd_ = -1;
  bool replacing_ = false;
  mode_t mode_ = 0;
  bool committed_ = false;
  std::string error_;
};

}  // namespace brillora
