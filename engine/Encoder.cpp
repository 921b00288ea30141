// CPU table loading and instruction encoding. Until a table loads, no
// mnemonic is known, so an instruction line never reaches the encoder.
#include "Tarn.h"

void TTarn::EncodeInstruction() {
  DefineLabel();
  ConsumeLine();
}

void TTarn::LoadCpuTable() {
  DefineLabel();
  ConsumeLine();
}
