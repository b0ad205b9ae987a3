// SCAFFOLD: replaced by the file-list work.
#include "app/Form1.h"
namespace velunor {
void Form1::PushButton1_Click() {}
} // namespace velunor
