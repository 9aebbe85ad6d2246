#include "app/remotegrid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

namespace quorbin::app {
namespace {

const int kOpeningWidths[kRemoteGridColumns] = {0, 187, 75, 91, 186, 138, 0, 0};
const int kFilledWidths[] = {0, 180, 90, 90, 0, 70, 0};  // column 7 keeps its width
const char* const kTitles[] = {"",
                               QT_TRANSLATE_NOOP("App", "Name"),
                               QT_TRANSLATE_NOOP("App", "Attribute"),
                               QT_TRANSLATE_NOOP("App", "Grösse"),
                               QT_TRANSLATE_NOOP("App", "Datum"),
                               "DATE",
                               QT_TRANSLATE_NOOP("App", "Zustand")};
const int kClearedColumns = 7;

void setCell(QTableWidget* grid, int row, int column, const QString& text)
{
    if (row == 0) {
        grid->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        return;
    }
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    grid->setItem(row - 1, column, item);
}

}  // namespace

void setupRemoteGrid(QTableWidget* grid)
{
    grid->setColumnCount(kRemoteGridColumns);
    grid->setRowCount(kRemoteGridRows - 1);
    grid->verticalHeader()->hide();  // column 0 is the fixed column, 0 pixels wide
    grid->verticalHeader()->setMinimumSectionSize(0);
    grid->verticalHeader()->setDefaultSectionSize(15);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setMinimumSectionSize(0);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setShowGrid(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setWordWrap(false);
    for (int column = 0; column < kRemoteGridColumns; ++column) {
        grid->setHorizontalHeaderItem(column, new QTableWidgetItem(QString()));
        grid->setColumnWidth(column, kOpeningWidths[column]);
    }
}

void clearRemoteGrid(QTableWidget* grid)
{
    for (int column = 0; column < kClearedColumns; ++column) {
        if (QTableWidgetItem* header = grid->horizontalHeaderItem(column))
            header->setText(QString());
        for (int row = 0; row < grid->rowCount(); ++row)
            delete grid->takeItem(row, column);
    }
}

void showRemoteHeaders(QTableWidget* grid)
{
    for (int column = 0; column < kClearedColumns; ++column) {
        setCell(grid, 0, column, QCoreApplication::translate("App", kTitles[column]));
        grid->setColumnWidth(column, kFilledWidths[column]);
    }
}

void showRemoteFiles(QTableWidget* grid, const QList<RemoteFileRow>& files)
{
    int row = 1;
    for (const RemoteFileRow& file : files) {
        if (row >= kRemoteGridRows)
            break;
        setCell(grid, row, 1, file.name);
        setCell(grid, row, 2, file.attributes);
        setCell(grid, row, 3, file.size);
        setCell(grid, row, 5, file.date);
        ++row;
    }
    // The listed texts are read whole: a column is at least as wide as what it shows.
    for (int column = 1; column < kClearedColumns; ++column) {
        const int design = grid->columnWidth(column);
        if (design == 0)
            continue;
        grid->resizeColumnToContents(column);
        grid->setColumnWidth(column, std::max(design, grid->columnWidth(column)));
    }
}

QString remoteGridText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = row == 0 ? grid->horizontalHeaderItem(column) : grid->item(row - 1, column);
    return item ? item->text() : QString();
}

}  // namespace quorbin::app
