#include "platform/qt/text_entry.h"

#include "platform/qt/gbk_positions.h"
#include "platform/qt/input.h"
#include "platform/qt/qt_text.h"

#include <QRegularExpression>

#include <cassert>
#include <vector>

namespace platform::qt {
namespace {

bool isEditingKey(const QString& character)
{
    char16_t c = character.at(0).unicode();
    return c < 0x20 || c == 0x7F;
}

// Changes a character's case only where that keeps it one character.
QString changeCase(const QString& text, TextEntry::Case to)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QString one = text.mid(i, units);
        QString changed = to == TextEntry::Case::Upper ? one.toUpper() : one.toLower();
        out += changed.size() == one.size() ? changed : one;
        i += units;
    }
    return out;
}

// The string indices after each whole character of `text`.
std::vector<qsizetype> characterEnds(const QString& text)
{
    std::vector<qsizetype> ends;
    for (qsizetype i = 0; i < text.size();) {
        i += text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        ends.push_back(i);
    }
    return ends;
}

} // namespace

std::optional<std::uint32_t> TextEntry::typedCharacter(std::uint32_t code)
{
    QString character = unpackCharCode(code);
    if (character.isEmpty() || isReadOnly())
        return code;
    bool lineBreak = character == QLatin1String("\r") && m_multiLine && m_takesLineBreaks;
    if (!lineBreak && isEditingKey(character))
        return code;
    QString text = lineBreak ? QStringLiteral("\n") : converted(character);
    if (fitting(text) != text) {
        notifyRefused();
        return std::nullopt;
    }
    return lineBreak ? code : packCharCode(text);
}

void TextEntry::insertAsUser(const QString& text)
{
    QString incoming = converted(text);
    QString fits = fitting(incoming);
    if (!fits.isEmpty())
        replaceSelection(fits);
    if (fits.size() < incoming.size())
        notifyRefused();
}

QString TextEntry::converted(const QString& text) const
{
    QString out = text;
    if (m_multiLine) {
        out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    } else {
        // A single line takes the first line of what comes.
        qsizetype lineEnd = out.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
        if (lineEnd >= 0)
            out.truncate(lineEnd);
    }
    return m_case == Case::Keep ? out : changeCase(out, m_case);
}

QString TextEntry::fitting(const QString& text) const
{
    Range selection = selectedRange();
    QString current = entryText();
    QString before = current.left(selection.start());
    QString after = current.mid(selection.end());
    int room = m_limit - gbkLength(before + after, m_multiLine);
    QString fits = gbkPrefix(text, room, m_multiLine);
    if (!m_boundedByBox || showsWhole(before + fits + after))
        return fits;
    // The longest start, in whole characters, that the box still shows.
    std::vector<qsizetype> ends = characterEnds(fits);
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low < high) {
        std::size_t mid = (low + high + 1) / 2;
        if (showsWhole(before + fits.left(ends[mid - 1]) + after))
            low = mid;
        else
            high = mid - 1;
    }
    return low == 0 ? QString() : fits.left(ends[low - 1]);
}

std::string TextEntry::windowText() const
{
    QString text = entryText();
    if (m_multiLine)
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return toGbk(text);
}

void TextEntry::setWindowText(std::string_view gbk)
{
    QString text = fromGbk(gbk);
    if (m_multiLine)
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setEntryText(text);
}

int TextEntry::windowTextLength() const
{
    return gbkLength(entryText(), m_multiLine);
}

TextEntry::ByteRange TextEntry::byteSelection() const
{
    Range r = selectedRange();
    GbkPositions positions(entryText(), m_multiLine);
    return {positions.byteAt(r.start()), positions.byteAt(r.end())};
}

void TextEntry::selectBytes(int start, int end)
{
    GbkPositions positions(entryText(), m_multiLine);
    auto index = [&](int byte) { return positions.indexAt(byte < 0 ? positions.bytes() : byte); };
    if (start < 0) {
        qsizetype caret = selectedRange().caret;
        selectRange({caret, caret});
        return;
    }
    selectRange({index(start), index(end)});
}

void TextEntry::notifyEdited()
{
    if (m_listener.edited)
        m_listener.edited();
}

void TextEntry::notifyRefused()
{
    if (m_listener.refused)
        m_listener.refused();
}

} // namespace platform::qt
