// SCAFFOLD: replaced by the drag-and-drop work.
#include "app/Form1.h"
namespace velunor {
void Form1::ListView1_OLEDragOver(QDropEvent *) {}
void Form1::ListView1_OLEDragDrop(QDropEvent *) {}
bool Form1::routeListViewDrop(QEvent *) { return false; }
} // namespace velunor
