#pragma once

class QWidget;

// What assistive technology hears of the form's controls: each by its label, as the user sees it. Qt
// names a drop-down on Linux by its current value and a checkable button as a check box; a picker is
// named by its label here, and a segment reads as one choice of its group.
namespace AccessibleControls {

// control is a drop-down named by its accessible name, a segment, or the group of segments.
void markPicker(QWidget *control);
void markSegment(QWidget *segment);
void markSegmentGroup(QWidget *group);

} // namespace AccessibleControls
