#include "app/ui/OrdenarTituloGrid.h"

#include "app/core/StationTable.h"
#include "app/ui/StationTableModel.h"

#include <QAbstractProxyModel>
#include <QCoreApplication>
#include <QTableView>

namespace Tunewell {

void OrdenarTituloGrid(QTableView *Grid, int Coluna) {
    try {
        // The grid may show the table through a filter.
        QAbstractItemModel *shown = Grid->model();
        if (auto *proxy = qobject_cast<QAbstractProxyModel *>(shown))
            shown = proxy->sourceModel();
        auto *model = qobject_cast<StationTableModel *>(shown);
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
