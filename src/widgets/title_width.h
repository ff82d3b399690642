#pragma once

class QWidget;

namespace brillora {

// The width a window needs for its title bar to show its whole title: the
// title in the title bar's font, with room for the window's icon, its close
// button and the bar's margins, as far as the program can know the desktop's
// title bar.
int TitleBarWidth(const QWidget& window);

}  // namespace brillora
