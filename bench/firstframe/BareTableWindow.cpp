// A bare Qt 6 window with a table of a few rows, as small as a window gets: what the main window's
// time to its first map is measured against. It stays until it is ended.
#include <QApplication>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare table window"));
    QStandardItemModel model(20, 5);
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            model.setItem(row, column, new QStandardItem(QStringLiteral("%1.%2").arg(row).arg(column)));
    auto *table = new QTableView(&window);
    table->setModel(&model);
    window.setCentralWidget(table);
    window.resize(723, 343);
    window.show();
    return application.exec();
}
