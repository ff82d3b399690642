#pragma once

#include <QString>

namespace brillora {

class BrilloraApp;

// Shows every window of the program with the current design and writes a PNG
// of each, named after the window, into `folder`. Returns false, naming the
// failure in `error`, when a file could not be written.
bool WriteScreenshots(BrilloraApp& app, const QString& folder, QString& error);

}  // namespace brillora
