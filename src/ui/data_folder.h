#pragma once

#include <QDir>

namespace brillora {

// The folder that holds what the program reads beside itself: GEM_DAT, the
// open dialog's first folder, Manual.pdf, and Sound and Texture when present.
// The program's own folder when GEM_DAT is there (a build folder, an unpacked
// copy); else the installed data folder, found from the program's folder as
// the installation laid them out (bin/ and share/brillora/), when GEM_DAT is
// there; else the program's folder, whose missing files then behave as they
// always did.
QDir DataFolder(const QDir& programFolder);

}  // namespace brillora
