#pragma once
// The grid of remote files on the page "FTP-Ütra". Its header is row 0, so the files take
// rows 1 to 499 and a row number r is the table's row r - 1; column numbers are the table's.
#include "remote/remotebrowser.h"

#include <QList>

class QTableWidget;

namespace quorbin::app {

inline constexpr int kRemoteGridRows = 500;  // the header row included
inline constexpr int kRemoteGridColumns = 8;

// Columns, rows of 15 pixels, the widths of an unfilled grid; cells cannot be edited.
void setupRemoteGrid(QTableWidget* grid);
// Empties columns 0 to 6 in all rows, the header included; column 7 is left alone.
void clearRemoteGrid(QTableWidget* grid);
// The titles and widths of a filled grid.
void showRemoteHeaders(QTableWidget* grid);
// The files from row 1 on: "Name", "Attribute", "Grösse" and "DATE".
void showRemoteFiles(QTableWidget* grid, const QList<RemoteFileRow>& files);
// The text of a cell by the grid's own numbering: row 0 is the header.
QString remoteGridText(const QTableWidget* grid, int row, int column);

}  // namespace quorbin::app
