// The button control's widget: a push button drawn the classic way, with a
// caption (access key underlined, wrapped with BS_MULTILINE, placed by the
// alignment styles) or a bitmap or icon centred on the button face.
#pragma once

#include "platform/gdi.h"
#include "platform/qt/button_caption.h"
#include "platform/types.h"

#include <QPushButton>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
struct CreateStruct;
}

namespace platform::qt {

class ButtonControl : public QPushButton {
public:
    ButtonControl(QWidget* parent, const CreateStruct& cs);

    void applyStyles(std::uint32_t style);
    bool isDefaultPush() const;

    // The caption is the window text (GBK).
    void setCaption(std::string_view gbk);
    const std::string& caption() const { return m_gbkCaption; }
    const ButtonCaption& parsedCaption() const { return m_caption; }

    // Shown in place of the caption with BS_BITMAP or BS_ICON; not owned.
    void setBitmapImage(Bitmap bitmap);
    void setIconImage(Icon icon);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Hwnd handle() const;
    QRect contentRect() const;
    Qt::Alignment alignment() const;
    bool drawImage(QPainter& painter, const QRect& content) const;
    void drawCaption(QPainter& painter, const QRect& content) const;

    std::uint32_t m_style = 0;
    std::string m_gbkCaption;
    ButtonCaption m_caption;
    Bitmap m_bitmap = Bitmap::Null;
    Icon m_icon = Icon::Null;
};

} // namespace platform::qt
