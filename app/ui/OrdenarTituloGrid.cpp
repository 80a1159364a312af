#include "app/ui/OrdenarTituloGrid.h"

#include "app/core/StationTable.h"
#include "app/ui/StationTableModel.h"

#include <QCoreApplication>
#include <QTableView>

namespace Tunewell {

void OrdenarTituloGrid(QTableView *Grid, int Coluna) {
    try {
        auto *model = qobject_cast<StationTableModel *>(Grid->model());
        if (!model || !model->Table().IsOpen() || Coluna < 0 || Coluna >= model->columnCount())
            return;
        const std::string field = model->FieldNameOfColumn(Coluna).toStdString();
        QCoreApplication::processEvents();
        if (model->Table().SortField() != field)
            model->Table().SortBy(field);
        model->SetMarkedColumn(Coluna);
    } catch (const std::exception &) {
        // A failed sort leaves the grid as it was.
    }
}

} // namespace Tunewell
