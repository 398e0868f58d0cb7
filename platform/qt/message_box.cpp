#include "platform/message_box.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace platform {
namespace qt {
namespace {

struct ButtonSpec {
    int id;
    const char* text; // UTF-8
};

const ButtonSpec kOk{IDOK, "确定"};
const ButtonSpec kCancel{IDCANCEL, "取消"};
const ButtonSpec kAbort{IDABORT, "中止"};
const ButtonSpec kRetry{IDRETRY, "重试"};
const ButtonSpec kIgnore{IDIGNORE, "忽略"};
const ButtonSpec kYes{IDYES, "是"};
const ButtonSpec kNo{IDNO, "否"};

// The button sets 0-5, in display order.
std::vector<ButtonSpec> buttonsFor(std::uint32_t style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return {kOk, kCancel};
    case MB_ABORTRETRYIGNORE: return {kAbort, kRetry, kIgnore};
    case MB_YESNOCANCEL: return {kYes, kNo, kCancel};
    case MB_YESNO: return {kYes, kNo};
    case MB_RETRYCANCEL: return {kRetry, kCancel};
    default: return {kOk};
    }
}

QMessageBox::Icon iconFor(std::uint32_t style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The box answers Escape and its close button only where it has a way
// out: the OK of a lone OK button, or a Cancel button.  Other sets (Yes/No,
// Abort/Retry/Ignore) must be answered with one of their buttons.
class ClassicMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    QAbstractButton* escape = nullptr;
    int answer = 0;
    bool finished = false;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (!finished && !escape) {
            e->ignore();
            return;
        }
        if (!finished && escape) {
            e->ignore();
            escape->click();
            return;
        }
        QMessageBox::closeEvent(e);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape) {
            if (escape)
                escape->click();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
};

} // namespace
} // namespace qt

using namespace qt;

int MessageBox(Hwnd owner, std::string_view text, std::string_view caption, std::uint32_t style)
{
    QWidget* parent = nullptr;
    if (WindowRecord* r = findWindow(GetTopLevel(owner)))
        parent = r->widget;
    ClassicMessageBox box(parent);
    box.setWindowTitle(fromGbk(caption));
    box.setText(fromGbk(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(iconFor(style));
    box.setWindowModality(Qt::ApplicationModal);
    if (style & MB_SYSTEMMODAL)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setProperty("velmoraMessageBoxStyle", QVariant::fromValue(uint(style)));

    std::vector<ButtonSpec> specs = buttonsFor(style);
    std::vector<QPushButton*> buttons;
    for (const ButtonSpec& spec : specs) {
        // One role for all: the toolkit would order buttons by role, while
        // the classic boxes show them in the order of their set.  Answers,
        // the default and the escape button are the box's own business.
        QPushButton* b = box.addButton(QString::fromUtf8(spec.text), QMessageBox::ActionRole);
        b->setProperty("velmoraAnswer", spec.id);
        buttons.push_back(b);
        if (spec.id == IDCANCEL || (specs.size() == 1 && spec.id == IDOK))
            box.escape = b;
    }
    std::size_t def = (style & MB_DEFMASK) == MB_DEFBUTTON3 ? 2 : (style & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : 0;
    box.setDefaultButton(buttons[def < buttons.size() ? def : 0]);
    box.setEscapeButton(box.escape);
    QObject::connect(&box, &QMessageBox::buttonClicked, [&box](QAbstractButton* b) {
        box.answer = b->property("velmoraAnswer").toInt();
        box.finished = true;
    });

    box.show();
    box.raise();
    box.activateWindow();
    // The box's own loop: the thread's messages keep flowing while it is up.
    while (!box.finished && box.isVisible()) {
        Msg m;
        if (PeekMessage(m, PM_NOREMOVE)) {
            if (m.message == WM_QUIT)
                break; // leave it queued for the loops outside
            PeekMessage(m, PM_REMOVE);
            TranslateMessage(m);
            DispatchMessage(m);
            continue;
        }
        WaitMessage();
    }
    box.finished = true;
    box.hide();
    return box.answer;
}

} // namespace platform
