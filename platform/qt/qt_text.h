// Conversions between the system's GBK texts and Qt strings.
#pragma once

#include "platform/text_codec.h"

#include <QString>
#include <string>
#include <string_view>

namespace platform::qt {

inline QString fromGbk(std::string_view gbk)
{
    std::string utf8 = GbkToUtf8(gbk);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

inline std::string toGbk(const QString& s)
{
    QByteArray utf8 = s.toUtf8();
    return Utf8ToGbk(std::string_view(utf8.constData(), size_t(utf8.size())));
}

// The title a top-level window shows for its text.  The toolkit puts the
// program's name in the title bar of a window whose title is empty, where
// the window asked for none: an invisible zero-width space keeps it blank.
inline QString windowTitleFor(std::string_view gbk)
{
    return gbk.empty() ? QStringLiteral("\u200B") : fromGbk(gbk);
}

} // namespace platform::qt
