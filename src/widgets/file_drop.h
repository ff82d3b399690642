#pragma once

#include <QString>
#include <optional>

class QDragEnterEvent;
class QDropEvent;

namespace brillora {

// A window that opens a file dropped on it: the drag is welcome when it
// brings files, and of several dropped files only the first is taken, its
// name cut to the longest the window reads.

// Accepts the drag when it brings files.
void WelcomeFiles(QDragEnterEvent* event);
// The first dropped file's name, at most `longest` characters, and the drop
// accepted; nothing (and the drop left alone) when it brought no file.
std::optional<QString> TakeDroppedFile(QDropEvent* event, qsizetype longest);

// The longest name a window reads from a dropped design file.
inline constexpr qsizetype kLongestDroppedDesign = 256;

}  // namespace brillora
