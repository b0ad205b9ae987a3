// SCAFFOLD: replaced by the file-list work.
#include "app/Form1.h"
namespace velunor {
void Form1::ListView1_KeyDown(int, Qt::KeyboardModifiers) {}
void Form1::ListView1_DblClick() {}
void Form1::ListView1_ItemClick() {}
void Form1::ListView1_MouseDown() {}
void Form1::ListView1_MouseMove(int, int) {}
void Form1::ListView1_MouseUp() {}
void Form1::PushButton4_Click() {}
bool Form1::routeListViewEvent(QObject *, QEvent *) { return false; }
} // namespace velunor
