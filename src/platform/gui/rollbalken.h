#pragma once
// Scroll bars whose thumb stands out. The desktop's own style draws the thumb lighter than its
// track; beside a white grid or chart the grey track is then taken for the thumb, which seems to
// sit at the wrong end and to run backwards when dragged.
class QAbstractScrollArea;

namespace rollbalken {

// Both scroll bars of the area draw their thumb darker than the track, in the palette's Mid
// colour (darker while pointed at or dragged); track and arrows stay the style's.
void deutlich(QAbstractScrollArea* bereich);

} // namespace rollbalken
