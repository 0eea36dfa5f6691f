// The INI file services the settings rely on, as the Windows private-profile functions
// provide them: Config.ini files carried over from Windows and edited by hand read the same.
#pragma once

#include <QString>

namespace ovelo {

// The value of `key` in `section` of the INI file `fileName`, read from the file at every
// call. Names match without regard to case, and the first of a repeated section or key wins;
// blanks around the value and one pair of quotes around it are dropped. At most 254 bytes of
// the value, counted as Windows counts them in code page 936 (a character that code page lacks
// counts as its UTF-8 bytes), ending at a whole character. "" when the file, section or key is
// missing, and when the path is not a regular file or the file is unreasonably big. Each line
// that is not UTF-8 is read as code page 936; a file with the UTF-16 mark is UTF-16.
QString GetFromIni(const QString& section, const QString& key, const QString& fileName);

// Stores `value` under `key` in `section`, creating the file, the section (at the end) or the
// key (after the last key of its section) as needed. Only the key's own line is written, in
// UTF-8 (UTF-16 in a UTF-16 file); every other line keeps its bytes. A value the reader would
// strip of blanks or quotes is stored in quotes, so it reads back as given. The file is
// replaced as a whole or not at all. A value with a line break, a name that could not be read
// back, a missing folder, a read-only or oversized file, and a path that is not a regular file
// leave things untouched; failures are logged, not reported.
void WriteToIni(const QString& section, const QString& key, const QString& value,
                const QString& fileName);

} // namespace ovelo
