#pragma once

#include <QString>

class QWidget;

namespace Tunewell::Testing {

// A widget as a test names it: its object names (or class names) from its window down,
// "FormRadio/QWidget/Panel1/LabelNome".
QString WidgetPath(const QWidget *Widget);

} // namespace Tunewell::Testing
