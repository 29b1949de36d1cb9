#pragma once
// Whether the program runs on a screen that takes several fingers at once.
namespace touch {

// A touch screen reporting at least two touch points.
bool mehrpunktBildschirm();

// Touch mode: forced on by --touch (already set), else what the screen reports.
bool erkenne(bool erzwungen);

} // namespace touch
