#pragma once

class QLabel;
class QPushButton;

namespace Tunewell {

// A control placed at a fixed size grows until the text it shows fits in the font and style in
// use; it never shrinks. A centred label grows evenly on both sides, anything else to the right
// and downwards; a control that would then reach past its parent's right edge moves left.
void GrowToText(QLabel &Label);
void GrowToText(QPushButton &Button);

} // namespace Tunewell
