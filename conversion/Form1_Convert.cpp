// SCAFFOLD: replaced by the conversion-run work.
#include "app/Form1.h"
namespace velunor {
void Form1::PushButton2_Click() {}
} // namespace velunor
