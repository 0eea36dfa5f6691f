// Text from Windows installations, which store it in code page 936 (GBK).
#pragma once

#include <QByteArrayView>
#include <QString>

namespace ovelo {

// Decodes as Windows does: a pair the code page does not define, a lone byte that is no
// character and a lead byte cut off at the end each become "?", and decoding goes on.
QString DecodeCp936(QByteArrayView bytes);

// How many bytes the character `c` takes in code page 936: 1 or 2, or 0 when the code page has
// no character for it (Korean syllables, emoji, lone surrogates).
int Cp936Size(char32_t c);

} // namespace ovelo
