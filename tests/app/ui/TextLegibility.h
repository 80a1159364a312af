#pragma once

#include <QSet>
#include <QStringList>

class QWidget;

namespace Tunewell::Testing {

// Every text Window shows (labels, edits, buttons, grid cells, header sections, menu bar items)
// whose contrast against what is behind it is below the guidelines' 4.5:1, as the window draws
// them: the window is rendered, and in each text's place the most frequent colour is taken as
// what is behind it and the colour farthest from it as the text's. One line each, naming the
// text, the ratio and both colours; empty when every text is legible. The grid columns titled
// in PictureColumns show pictures, not text, and are left out.
QStringList IllegibleTexts(QWidget &Window, const QSet<QString> &PictureColumns = {});

} // namespace Tunewell::Testing
