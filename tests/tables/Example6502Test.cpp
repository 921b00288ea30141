// The bundled 6502 example: it assembles without errors, and its macro,
// conditional block, include file and forward names give the code a reader
// of the source expects.
#include <gtest/gtest.h>

#include "TableRun.h"

namespace {

const std::string ExampleDir = TARN_TABLES_DIR "/../examples/6502";

// The data bytes of an Intel hex file in record order.
std::string IntelData(const std::string& text) {
  std::string bytes;
  size_t at = 0;
  while ((at = text.find(':', at)) != std::string::npos) {
    auto byte = [&](size_t i) { return char(std::stoi(text.substr(at + 1 + 2 * i, 2), nullptr, 16)); };
    int count = static_cast<unsigned char>(byte(0));
    if (byte(3) == 0)
      for (int i = 0; i < count; ++i) bytes += byte(4 + i);
    ++at;
  }
  return bytes;
}

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s += char(b);
  return s;
}

TEST(Example6502, AssemblesWithTheCodeItsSourceDescribes) {
  TTempDir dir;
  TTableRun r = RunTarnOn(dir, ExampleDir + "/memcopy.asm", "-I '" + ExampleDir + "'");
  ASSERT_TRUE(r.Errors.empty()) << r.Stderr;
  ASSERT_EQ(r.Status, 0) << r.Stderr;
  std::string object = dir.Read("out.BIN");  // Intel hex here, whatever the name
  ASSERT_EQ(object.rfind(":1008000", 0), 0u) << "the code starts at $0800:\n" << object;
  std::string code = IntelData(object);

  struct TExpectedCode { const char* What; std::string Code; bool Present; } expected[] = {
      // SETPTR DST,SCREEN: the macro's arguments replace its formal names.
      {"pointer set by the macro", Bytes({0xA9, 0x00, 0x85, 0xFD, 0xA9, 0x04, 0x85, 0xFE}), true},
      // The copy loop, its page-zero operands taken from the included file.
      {"memory copy routine", Bytes({0xA0, 0x00, 0xA6, 0xFA, 0xF0, 0x0E, 0xB1, 0xFB, 0x91, 0xFD, 0xC8, 0xD0, 0xF9,
                                     0xE6, 0xFC, 0xE6, 0xFE, 0xCA, 0xD0, 0xF2, 0xA6, 0xF9, 0xF0, 0x08, 0xB1, 0xFB,
                                     0x91, 0xFD, 0xC8, 0xCA, 0xD0, 0xF8, 0x60}),
       true},
      // A name defined after its use, above page zero: the absolute form.
      {"store after the message", Bytes({0x8D, 0x07, 0x04}), true},
      // LOWER is 0: the ELSE part is assembled and the IF part is not.
      {"upper-case digit table", "0123456789ABCDEF", true},
      {"lower-case digit table", "0123456789abcdef", false},
  };
  for (const TExpectedCode& e : expected)
    EXPECT_EQ(code.find(e.Code) != std::string::npos, e.Present) << e.What << "\n" << Hex(code);
}

}  // namespace
