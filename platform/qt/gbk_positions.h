// Positions in a Qt string as the system's GBK texts count them: a byte
// for ASCII, two for most other characters, four for the few GB18030 adds.
// Edit fields report lengths, limits and selections this way.
#pragma once

#include <QString>

#include <vector>

namespace platform::qt {

class GbkPositions {
public:
    // `crlf`: a line break counts two bytes, as the window text of a
    // multi-line field writes it "\r\n".
    GbkPositions(const QString& text, bool crlf = false);

    int bytes() const { return m_offsets.back(); }
    // The byte offset of a string index; an index inside a surrogate pair
    // gives its character's start.
    int byteAt(qsizetype index) const;
    // The string index of the last character boundary at or before `byte`,
    // so that no position falls inside a character.
    qsizetype indexAt(int byte) const;

private:
    std::vector<int> m_offsets; // per UTF-16 unit, and one past the end
};

// The longest start of `text` made of whole characters within `bytes`.
QString gbkPrefix(const QString& text, int bytes, bool crlf = false);
int gbkLength(const QString& text, bool crlf = false);

} // namespace platform::qt
