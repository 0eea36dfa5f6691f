// Text from Windows installations, which store it in code page 936 (GBK).
#pragma once

#include <QByteArrayView>
#include <QString>

namespace ovelo {

// Decodes as Windows does: a pair the code page does not define, a lone byte that is no
// character and a lead byte cut off at the end each become "?", and decoding goes on.
QString DecodeCp936(QByteArrayView bytes);

} // namespace ovelo
