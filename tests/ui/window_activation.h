#pragma once

class QWidget;

// Another window takes the activation, then `window` gets it back, as when the
// user clicks elsewhere and then on the window's title bar. Fails the running
// test when either activation does not arrive.
void Reactivate(QWidget& window);
