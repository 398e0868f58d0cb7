// What every edit field the user types into does alike, whether a single
// line or many, an edit control or a combo box's field: the limit counted
// in GBK bytes, case conversion, refusing text a field that does not
// scroll could not show, pasting, and selections in bytes.  The Qt editors
// supply the text and its selection.
#pragma once

#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace platform::qt {

class TextEntry {
public:
    enum class Case { Keep, Upper, Lower };

    // The user changed the text; input was refused or cut at the limit.
    struct Listener {
        std::function<void()> edited;
        std::function<void()> refused;
    };

    // What a field takes before EM_LIMITTEXT, and what 0 sets.
    static constexpr int kDefaultLimit = 32767;
    static constexpr int kSystemLimit = 0x7FFFFFFE;

    explicit TextEntry(bool multiLine) : m_multiLine(multiLine) {}
    virtual ~TextEntry() = default;
    TextEntry(const TextEntry&) = delete;
    TextEntry& operator=(const TextEntry&) = delete;

    virtual QWidget* editorWidget() = 0;
    virtual QString entryText() const = 0;
    // The program's change: no notification, the limit does not apply.
    virtual void setEntryText(const QString& text) = 0;
    // The selection as string indices: where it is anchored and the caret.
    struct Range {
        qsizetype anchor = 0;
        qsizetype caret = 0;
        qsizetype start() const { return std::min(anchor, caret); }
        qsizetype end() const { return std::max(anchor, caret); }
    };
    virtual Range selectedRange() const = 0;
    virtual void selectRange(Range range) = 0;
    virtual void scrollToCaret() = 0;
    virtual bool isReadOnly() const = 0;

    void setListener(Listener listener) { m_listener = std::move(listener); }
    void setLimit(int bytes) { m_limit = bytes <= 0 ? kSystemLimit : bytes; }
    int limit() const { return m_limit; }
    void setCase(Case c) { m_case = c; }
    // A field without automatic scrolling takes only what it can show.
    void setBoundedByBox(bool bounded) { m_boundedByBox = bounded; }
    void setTakesLineBreaks(bool takes) { m_takesLineBreaks = takes; }
    bool takesLineBreaks() const { return m_takesLineBreaks; }
    bool isMultiLine() const { return m_multiLine; }

    // A typed character (a WM_CHAR code): the code to deliver, converted to
    // the field's case, or nothing when it does not fit.
    std::optional<std::uint32_t> typedCharacter(std::uint32_t code);
    // Text the user puts in at once (a paste, Edit_ReplaceSel): converted,
    // cut at the last whole character that fits, then inserted in place of
    // the selection.
    void insertAsUser(const QString& text);

    // The window text (GBK; line breaks "\r\n") and the selection in its
    // bytes.
    std::string windowText() const;
    void setWindowText(std::string_view gbk);
    int windowTextLength() const;
    struct ByteRange {
        int start = 0;
        int end = 0;
    };
    ByteRange byteSelection() const;
    // Positions clamped to the text; end -1 the end of the text, start -1
    // only places the caret (the selection goes).
    void selectBytes(int start, int end);

protected:
    // Whether the field would show this whole text without scrolling.
    virtual bool showsWhole(const QString& text) const = 0;
    // Puts text in place of the selection as the user's change.
    virtual void replaceSelection(const QString& text) = 0;
    void notifyEdited();

private:
    QString converted(const QString& text) const;
    QString fitting(const QString& text) const;
    void notifyRefused();

    bool m_multiLine;
    int m_limit = kDefaultLimit;
    Case m_case = Case::Keep;
    bool m_boundedByBox = false;
    bool m_takesLineBreaks = false;
    Listener m_listener;
};

} // namespace platform::qt
