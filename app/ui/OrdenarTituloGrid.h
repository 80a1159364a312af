#pragma once

class QTableView;

namespace Tunewell {

// Sorts the station table behind Grid ascending by the field of column Coluna and marks that
// column; does nothing when the table is closed. Errors are swallowed: a title click never fails.
void OrdenarTituloGrid(QTableView *Grid, int Coluna);

} // namespace Tunewell
