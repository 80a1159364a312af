#pragma once

#include <QFont>

namespace Tunewell {

// Tahoma at the given size where it is installed, otherwise the platform's closest sans font.
QFont WindowFont(int PointSize = 8, bool Bold = false);

} // namespace Tunewell
