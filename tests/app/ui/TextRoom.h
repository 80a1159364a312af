#pragma once

#include <QStringList>

class QWidget;

namespace Tunewell::Testing {

// Every text of Window, and of the menus it owns, that does not fit the room it has: a label,
// button, edit, combo box or header section whose text (font metrics) is wider or taller than
// its place (geometry, less the style's margins), a menu bar item pushed out of the bar, a text
// control reaching outside its parent or overlapping a visible neighbour. One line each, naming
// the widget and the sizes; empty when everything fits.
QStringList TextMisfits(QWidget &Window);

} // namespace Tunewell::Testing
