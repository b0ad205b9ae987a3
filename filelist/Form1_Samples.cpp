// SCAFFOLD: replaced by the samples work.
#include "app/Form1.h"
namespace velunor {
void Form1::PushButton5_Click() {}
} // namespace velunor
