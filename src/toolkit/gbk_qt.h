#pragma once
// The one crossing between the program's GBK byte strings and Qt's QString.
// Every text that goes into a widget or comes out of one passes through here.
#include <QString>
#include <string>
#include <string_view>

namespace tk {

QString QStringFromGbk(std::string_view gbk);
// Characters without a GBK form become "?".
std::string GbkFromQString(const QString& text);
// The number of bytes the text takes in GBK.
int GbkByteCount(const QString& text);
// The GBK code of one character: the byte itself below 0x80, lead byte * 256
// + trail byte for a two-byte character; a character without a GBK form
// answers its Unicode code point.
int GbkCharCode(char32_t ch);
// The reverse of GbkCharCode.
QString QStringFromGbkCharCode(int code);

}  // namespace tk
