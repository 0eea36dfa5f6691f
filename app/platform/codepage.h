// Text from Windows installations, which store it in code page 936 (GBK).
#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>

namespace ovelo {

// Decodes as Windows does: a pair the code page does not define, a lone byte that is no
// character and a lead byte cut off at the end each become "?", and decoding goes on.
QString DecodeCp936(QByteArrayView bytes);

// How many bytes the character `c` takes in code page 936: 1 or 2, or 0 when the code page has
// no character for it (Korean syllables, emoji, lone surrogates).
int Cp936Size(char32_t c);

// The character of each double-byte code 0x8000 to 0xFFFF, indexed by the code less 0x8000,
// with "?" where the code page defines none: a lookup, for decoding a whole page at a time.
using Cp936PairTable = std::array<char16_t, 0x8000>;
const Cp936PairTable& Cp936Pairs();

} // namespace ovelo
