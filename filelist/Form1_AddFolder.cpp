// SCAFFOLD: replaced by the folder-search work.
#include "app/Form1.h"
namespace velunor {
void Form1::PushButton3_Click() {}
} // namespace velunor
