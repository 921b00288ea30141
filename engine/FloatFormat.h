// Encoding of the floating-point data directives DFF, DFDF and DFLDF.
//
// The assembled bytes must not depend on the machine running the assembler,
// so the decimal text is converted with exact integer arithmetic and rounded
// to nearest, ties to even; the host's float types are never consulted.
#pragma once

#include <cstddef>
#include <cstdint>

// The enumerator values are the encoded sizes in bytes.
enum class TFloatKind { Single = 4, Double = 8, Extended = 10 };

// Number of bytes ReadDecimalFloat writes for kind.
constexpr size_t FloatKindSize(TFloatKind kind) { return static_cast<size_t>(kind); }

// Reads a decimal number at text (zero-terminated; a line ends with '\n' then '\0'),
// writes the encoding of kind into out (4, 8 or 10 bytes, most significant first),
// returns the position just after the number, or text itself when no number is there (out then holds +0.0).
//
// Accepted: blanks (space, tab), optional sign, digits with an optional decimal
// point ("5", "5.", ".5", "5.25"), optional exponent 'E'/'e' with optional sign
// and digits. An 'E' without digits after it is not part of the number.
// Single and Double are IEEE 754 binary32/binary64; Extended is the 80-bit
// x87 format: sign and 15-bit exponent (bias 16383), then the 64-bit
// significand with its explicit integer bit.
const char* ReadDecimalFloat(const char* text, TFloatKind kind, uint8_t* out);
