// SCAFFOLD: replaced by the options-and-help work.
#include "app/Form1.h"
namespace velunor {
void Form1::PushButton6_Click() {}
void Form1::PushButton7_Click() {}
void Form1::PushButton8_Click() {}
} // namespace velunor
