#pragma once

class QTableView;

// Gives a grid's rows the height its font needs, and at least minimum
// pixels, now and whenever its font changes.
void fitRowsToFont(QTableView* grid, int minimum);
