#include "platform/testing/ui_driver.h"

#include "platform/application.h"
#include "platform/menu.h"
#include "platform/messages.h"
#include "platform/qt/device_context.h"
#include "platform/qt/input_router.h"
#include "platform/qt/input.h"
#include "platform/qt/keys.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/qt/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPointer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::testing {
using namespace platform::qt;
namespace {

bool isPlatformBox(QMessageBox* box)
{
    return box && box->isVisible() && box->property("velmoraMessageBoxStyle").isValid();
}

// The innermost box when boxes nest: the top of the toolkit's modal stack.
QMessageBox* activeBox()
{
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); isPlatformBox(box))
        return box;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); isPlatformBox(box))
            return box;
    return nullptr;
}

QMenu* activePopup()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

MessageBoxInfo infoOf(QMessageBox* box)
{
    MessageBoxInfo info;
    info.text = toGbk(box->text());
    info.caption = toGbk(box->windowTitle());
    info.style = box->property("velmoraMessageBoxStyle").toUInt();
    // In the order they are shown, left to right.
    QList<QAbstractButton*> buttons = box->buttons();
    std::stable_sort(buttons.begin(), buttons.end(), [box](QAbstractButton* a, QAbstractButton* b) {
        return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
    });
    for (QAbstractButton* b : buttons)
        info.buttons.push_back(toGbk(b->text()));
    switch (box->icon()) {
    case QMessageBox::Critical: info.icon = MB_ICONHAND; break;
    case QMessageBox::Question: info.icon = MB_ICONQUESTION; break;
    case QMessageBox::Warning: info.icon = MB_ICONEXCLAMATION; break;
    case QMessageBox::Information: info.icon = MB_ICONASTERISK; break;
    default: info.icon = 0; break;
    }
    if (QPushButton* d = box->defaultButton())
        info.defaultAnswer = d->property("velmoraAnswer").toInt();
    info.modal = box->windowModality() == Qt::ApplicationModal;
    info.staysOnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    return info;
}

PopupMenuInfo infoOf(QMenu* menu)
{
    PopupMenuInfo info;
    for (QAction* a : menu->actions()) {
        info.items.push_back(a->isSeparator() ? std::string("-") : toGbk(a->text()));
        info.enabled.push_back(a->isEnabled());
        info.checked.push_back(a->isChecked());
        info.submenu.push_back(a->menu() != nullptr);
    }
    info.position = {menu->pos().x(), menu->pos().y()};
    return info;
}

struct Answerers {
    std::function<int(const MessageBoxInfo&)> box;
    std::function<std::string(const PopupMenuInfo&)> popup;
    std::function<void(const std::string&)> unexpected;
    int watchdogSeconds = 5;
    QTimer* timer = nullptr;
    QElapsedTimer modalSince;
    const void* modalSeen = nullptr;
    bool busy = false;
};

Answerers& answerers()
{
    static Answerers a;
    return a;
}

bool dismissPopup(QMenu* menu, const std::string& caption)
{
    if (!caption.empty())
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && toGbk(a->text()) == caption) {
                menu->setActiveAction(a);
                a->trigger();
                menu->close();
                return true;
            }
    menu->close();
    return caption.empty();
}

void poll()
{
    Answerers& a = answerers();
    if (a.busy)
        return;
    a.busy = true;
    const void* modal = nullptr;
    std::string what;
    if (QMessageBox* box = activeBox()) {
        modal = box;
        if (a.box) {
            int answer = a.box(infoOf(box));
            answer ? PressMessageBoxButton(answer) : CloseActiveMessageBox();
            modal = nullptr;
        } else {
            what = "message box \"" + GbkToUtf8(toGbk(box->windowTitle())) + "\": " + box->text().toStdString();
        }
    } else if (QMenu* menu = activePopup()) {
        modal = menu;
        if (a.popup) {
            dismissPopup(menu, a.popup(infoOf(menu)));
            modal = nullptr;
        } else {
            what = "pop-up menu";
        }
    }
    if (!modal) {
        a.modalSeen = nullptr;
        if (!activeBox() && !activePopup())
            a.timer->stop();
    } else if (modal != a.modalSeen) {
        a.modalSeen = modal;
        a.modalSince.start();
    } else if (a.unexpected && a.modalSince.elapsed() > a.watchdogSeconds * 1000) {
        a.unexpected("unanswered " + what);
        if (auto* box = activeBox())
            box->escapeButton() ? box->escapeButton()->click() : (void)(!box->buttons().isEmpty() && (box->buttons().front()->click(), true));
        if (auto* menu = activePopup())
            menu->close();
        a.modalSeen = nullptr;
    }
    a.busy = false;
}

// The poll runs only while a box or pop-up menu is up, so that a test
// program waiting for messages sleeps as the program itself would.
class ModalWatcher : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show && isModal(object) && answerers().timer)
            answerers().timer->start();
        return false;
    }
    static bool isModal(QObject* object)
    {
        if (auto* box = qobject_cast<QMessageBox*>(object))
            return box->property("velmoraMessageBoxStyle").isValid();
        return qobject_cast<QMenu*>(object) != nullptr;
    }
};

void ensureTimer()
{
    Answerers& a = answerers();
    if (a.timer)
        return;
    a.timer = new QTimer();
    a.timer->setInterval(15);
    QObject::connect(a.timer, &QTimer::timeout, poll);
    QApplication::instance()->installEventFilter(new ModalWatcher());
    if (activeBox() || activePopup())
        a.timer->start();
}

QWidget* clientWidget(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->client.data() : nullptr;
}

// Input goes in through the top-level window, as the window system would
// deliver it.
QWindow* windowFor(QWidget* w, QPoint& pos)
{
    QWidget* top = w->window();
    if (!top->windowHandle())
        top->winId();
    pos = w->mapTo(top, pos);
    return top->windowHandle();
}

Qt::KeyboardModifiers qtModifiers(unsigned m)
{
    Qt::KeyboardModifiers q;
    if (m & kShift)
        q |= Qt::ShiftModifier;
    if (m & kControl)
        q |= Qt::ControlModifier;
    if (m & kAlt)
        q |= Qt::AltModifier;
    return q;
}

Qt::MouseButton qtButton(MouseButton b)
{
    switch (b) {
    case MouseButton::Right: return Qt::RightButton;
    case MouseButton::Middle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}

int qtKey(std::uint32_t vk, bool keypad)
{
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return int(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return Qt::Key_0 + int(vk - VK_NUMPAD0);
    if (vk >= VK_F1 && vk <= VK_F12)
        return Qt::Key_F1 + int(vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return keypad ? Qt::Key_Enter : Qt::Key_Return;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_DECIMAL: return Qt::Key_Period;
    case VK_DIVIDE: return Qt::Key_Slash;
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_ADD: return Qt::Key_Plus;
    default: return 0;
    }
}

QWidget* focusTarget(Hwnd hwnd)
{
    QWidget* c = clientWidget(hwnd);
    if (!c)
        return nullptr;
    QWidget* top = c->window();
    QWidget* f = QApplication::focusWidget();
    return f && f->window() == top ? f : c;
}

void sendKey(Hwnd hwnd, std::uint32_t vk, unsigned modifiers, bool keypad, bool press, bool release, QString text = {})
{
    QWidget* target = focusTarget(hwnd);
    int key = qtKey(vk, keypad);
    if (!target || !key)
        return;
    Qt::KeyboardModifiers mods = qtModifiers(modifiers);
    if (keypad || (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE))
        mods |= Qt::KeypadModifier;
    // Alt leaves a key's character as it is (the window system makes it a
    // system character); Ctrl makes it a control code, which no test needs.
    if (text.isNull() && !(modifiers & kControl)) {
        if (vk >= 'A' && vk <= 'Z')
            text = QString(QChar((modifiers & kShift) ? vk : vk - 'A' + 'a'));
        else if ((vk >= '0' && vk <= '9'))
            text = QString(QChar(vk));
        else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
            text = QString(QChar('0' + (vk - VK_NUMPAD0)));
        else if (vk == VK_SPACE)
            text = QStringLiteral(" ");
        else if (vk == VK_RETURN)
            text = QStringLiteral("\r");
        else if (vk == VK_BACK)
            text = QStringLiteral("\b");
        else if (vk == VK_TAB)
            text = QStringLiteral("\t");
    }
    QWindow* window = target->window()->windowHandle();
    if (!window)
        return;
    if (press)
        QTest::sendKeyEvent(QTest::Press, window, Qt::Key(key), text, mods);
    if (release)
        QTest::sendKeyEvent(QTest::Release, window, Qt::Key(key), text, mods);
}

QtMessageHandler g_previousHandler = nullptr;

// The headless platform plugin warns about every window operation it does
// not carry out (raise, size hints, ...); those say nothing about the
// program.  Everything else goes on to the handler that was installed.
void filterPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    bool platformCategory = context.category && std::string_view(context.category).starts_with("qt.qpa");
    bool unsupported = message.startsWith(QLatin1String("This plugin does not support"));
    if (type != QtFatalMsg && type != QtCriticalMsg && (platformCategory || unsupported))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

void InitializeHeadless(int& argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        // Qt wants a runtime directory only its user may enter.
        std::string dir = "/tmp/velmora-runtime-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        chmod(dir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
    }
    g_previousHandler = qInstallMessageHandler(filterPlatformNoise);
    InitializeApplication(argc, argv);
}

std::optional<MessageBoxInfo> ActiveMessageBox()
{
    if (QMessageBox* box = activeBox())
        return infoOf(box);
    return std::nullopt;
}

bool PressMessageBoxButton(int answer)
{
    QMessageBox* box = activeBox();
    if (!box)
        return false;
    for (QAbstractButton* b : box->buttons())
        if (b->property("velmoraAnswer").toInt() == answer) {
            b->click();
            return true;
        }
    return false;
}

bool PressMessageBoxKey(std::uint32_t virtualKey)
{
    QMessageBox* box = activeBox();
    int key = qtKey(virtualKey, false);
    if (!box || !key || !box->windowHandle())
        return false;
    QPointer<QWindow> window = box->windowHandle();
    QTest::sendKeyEvent(QTest::Press, window, Qt::Key(key), QString(), Qt::NoModifier);
    if (window && window->isVisible())
        QTest::sendKeyEvent(QTest::Release, window, Qt::Key(key), QString(), Qt::NoModifier);
    return true;
}

bool CloseActiveMessageBox()
{
    QMessageBox* box = activeBox();
    if (!box || !box->windowHandle())
        return false;
    box->windowHandle()->close();
    return true;
}

void AnswerMessageBoxes(std::function<int(const MessageBoxInfo&)> answer)
{
    answerers().box = std::move(answer);
    ensureTimer();
}

void StopAnsweringMessageBoxes()
{
    answerers().box = nullptr;
}

std::optional<PopupMenuInfo> ActivePopupMenu()
{
    if (QMenu* m = activePopup())
        return infoOf(m);
    return std::nullopt;
}

void AnswerPopupMenus(std::function<std::string(const PopupMenuInfo&)> choose)
{
    answerers().popup = std::move(choose);
    ensureTimer();
}

void StopAnsweringPopupMenus()
{
    answerers().popup = nullptr;
}

void InstallModalWatchdog(std::function<void(const std::string&)> onUnexpected, int seconds)
{
    answerers().unexpected = std::move(onUnexpected);
    answerers().watchdogSeconds = seconds;
    ensureTimer();
}

void MouseDown(Hwnd hwnd, Point client, MouseButton button, unsigned modifiers)
{
    if (QWidget* c = clientWidget(hwnd)) {
        QPoint p(client.x, client.y);
        if (QWindow* w = windowFor(c, p))
            QTest::mousePress(w, qtButton(button), qtModifiers(modifiers), p);
    }
}

void MouseUp(Hwnd hwnd, Point client, MouseButton button, unsigned modifiers)
{
    if (QWidget* c = clientWidget(hwnd)) {
        QPoint p(client.x, client.y);
        if (QWindow* w = windowFor(c, p))
            QTest::mouseRelease(w, qtButton(button), qtModifiers(modifiers), p);
    }
}

void Click(Hwnd hwnd, Point client, MouseButton button, unsigned modifiers)
{
    MouseDown(hwnd, client, button, modifiers);
    MouseUp(hwnd, client, button, modifiers);
}

void DoubleClick(Hwnd hwnd, Point client, unsigned modifiers)
{
    if (QWidget* c = clientWidget(hwnd)) {
        QPoint p(client.x, client.y);
        if (QWindow* w = windowFor(c, p))
            QTest::mouseDClick(w, Qt::LeftButton, qtModifiers(modifiers), p);
    }
}

void MouseMove(Hwnd hwnd, Point client)
{
    if (QWidget* c = clientWidget(hwnd)) {
        QPoint p(client.x, client.y);
        if (QWindow* w = windowFor(c, p))
            QTest::mouseMove(w, p);
    }
}

void Wheel(Hwnd hwnd, Point client, int delta, unsigned modifiers)
{
    QWidget* c = clientWidget(hwnd);
    if (!c)
        return;
    // Qt has no public way to inject a wheel turn as the window system
    // would; it enters the platform's input path at the widget under the
    // point instead.
    QPoint local(client.x, client.y);
    QWidget* target = c->childAt(local) ? c->childAt(local) : c;
    QPoint there = target->mapFrom(c, local);
    QWheelEvent e(QPointF(there), QPointF(target->mapToGlobal(there)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  qtModifiers(modifiers), Qt::NoScrollPhase, false);
    if (!routeInjectedInput(target, &e))
        QApplication::sendEvent(target, &e);
}

void Key(Hwnd hwnd, std::uint32_t vk, unsigned modifiers, bool keypad)
{
    sendKey(hwnd, vk, modifiers, keypad, true, true);
}

void KeyDown(Hwnd hwnd, std::uint32_t vk, unsigned modifiers, bool keypad)
{
    sendKey(hwnd, vk, modifiers, keypad, true, false);
}

void TypeText(Hwnd hwnd, std::string_view text)
{
    QString s = fromGbk(text);
    QWidget* target = focusTarget(hwnd);
    if (!target || !target->window()->windowHandle())
        return;
    for (qsizetype i = 0; i < s.size(); ++i) {
        // One character may take two UTF-16 units.
        qsizetype units = s.at(i).isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
        QString one = s.mid(i, units);
        i += units - 1;
        QTest::sendKeyEvent(QTest::Press, target->window()->windowHandle(), Qt::Key(0), one, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, target->window()->windowHandle(), Qt::Key(0), one, Qt::NoModifier);
    }
}

void CommitInputMethodText(Hwnd hwnd, std::string_view text)
{
    QWidget* target = focusTarget(hwnd);
    if (!target)
        return;
    // Input methods hand their text to the focus object with sendEvent.
    QInputMethodEvent commit;
    commit.setCommitString(fromGbk(text));
    QApplication::sendEvent(target, &commit);
}

void ComposeInputMethodText(Hwnd hwnd, std::string_view text)
{
    QWidget* target = focusTarget(hwnd);
    if (!target)
        return;
    QString composing = fromGbk(text);
    QList<QInputMethodEvent::Attribute> attributes{
        {QInputMethodEvent::Cursor, int(composing.size()), 1, QVariant()},
    };
    QInputMethodEvent composition(composing, attributes);
    QApplication::sendEvent(target, &composition);
}

void SetClipboardText(std::string_view text)
{
    QApplication::clipboard()->setText(fromGbk(text));
}

void ClickScreen(Point screen)
{
    QPoint global(screen.x, screen.y);
    QWidget* top = QApplication::activePopupWidget();
    if (!top || !top->geometry().contains(global))
        top = QApplication::topLevelAt(global);
    if (!top)
        return;
    if (!top->windowHandle())
        top->winId();
    QPoint local = global - top->geometry().topLeft();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, local);
}

void RequestClose(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget || r->isChild())
        return;
    // Through the platform window, which delivers the close request as
    // the window manager's.
    r->widget->winId();
    if (QWindow* w = r->widget->windowHandle())
        w->close();
}

void ProcessToolkitEvents(int milliseconds)
{
    QElapsedTimer t;
    t.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (t.elapsed() < milliseconds);
}

Hwnd ToolkitModalWindow()
{
    QWindow* modal = QGuiApplication::modalWindow();
    if (!modal)
        return Hwnd::Null;
    for (Hwnd h : GetTopLevelWindows())
        if (WindowRecord* r = findWindow(h); r && r->widget && r->widget->windowHandle() == modal)
            return h;
    return Hwnd::Null;
}

Hwnd KeptAbove(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    QWindow* window = r && r->widget ? r->widget->windowHandle() : nullptr;
    QWindow* parent = window ? window->transientParent() : nullptr;
    if (!parent)
        return Hwnd::Null;
    for (Hwnd h : GetTopLevelWindows())
        if (WindowRecord* o = findWindow(h); o && o->widget && o->widget->windowHandle() == parent)
            return h;
    return Hwnd::Null;
}

std::string TitleBarText(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->widget || r->isChild())
        return {};
    // The window system's title bar falls back on the program's name when
    // the title is empty.
    QString title = r->widget->windowTitle();
    if (title.isEmpty())
        title = QCoreApplication::applicationName();
    QString shown;
    for (QChar c : title)
        if (c.isPrint() && c.category() != QChar::Other_Format)
            shown += c;
    return toGbk(shown);
}

std::vector<std::string> MenuBarTitles(Hwnd hwnd)
{
    std::vector<std::string> titles;
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->isChild())
        return titles;
    auto* frame = static_cast<FrameWidget*>(r->widget.data());
    if (!frame || !frame->menuBar())
        return titles;
    for (QAction* a : frame->menuBar()->actions())
        titles.push_back(toGbk(a->text()));
    return titles;
}

bool SaveWindowImage(Hwnd hwnd, const std::string& path)
{
    WindowRecord* r = findWindow(hwnd);
    return r && r->widget && r->widget->grab().save(QString::fromStdString(path), "PNG");
}

ColorRef ClientPixel(Hwnd hwnd, Point client)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->client)
        return 0xFFFFFFFF;
    QImage img = r->client->grab().toImage();
    if (!img.rect().contains(client.x, client.y))
        return 0xFFFFFFFF;
    QColor c = img.pixelColor(client.x, client.y);
    return Rgb(c.red(), c.green(), c.blue());
}

std::vector<ColorRef> ClientPixels(Hwnd hwnd, Rect area)
{
    std::vector<ColorRef> pixels;
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->client)
        return pixels;
    QImage img = r->client->grab().toImage();
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            QColor c = img.rect().contains(x, y) ? img.pixelColor(x, y) : QColor(Qt::transparent);
            pixels.push_back(img.rect().contains(x, y) ? Rgb(c.red(), c.green(), c.blue()) : 0xFFFFFFFF);
        }
    return pixels;
}

std::string FontFamilyUsed(Font font)
{
    return toGbk(QFontInfo(qfontFor(font)).family());
}

bool FontHasGlyph(Font font, char32_t character)
{
    return QFontMetrics(qfontFor(font)).inFontUcs4(character);
}

} // namespace platform::testing

namespace platform::testing {

bool ChooseMenuBarItem(Hwnd hwnd, const std::vector<std::string>& path)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->isChild() || path.empty())
        return false;
    auto* frame = static_cast<FrameWidget*>(r->widget.data());
    if (!frame || !frame->menuBar())
        return false;
    QList<QAction*> actions = frame->menuBar()->actions();
    for (std::size_t level = 0; level < path.size(); ++level) {
        QAction* found = nullptr;
        for (QAction* a : actions) {
            QString caption = a->text().section(QLatin1Char('\t'), 0, 0);
            if (!a->isSeparator() && toGbk(caption) == path[level])
                found = a;
        }
        if (!found || !found->isEnabled())
            return false;
        if (level + 1 == path.size()) {
            if (found->menu())
                return false;
            found->trigger();
            return true;
        }
        if (!found->menu())
            return false;
        actions = found->menu()->actions();
    }
    return false;
}

void RunWhen(std::function<bool()> check, int intervalMs)
{
    auto* timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, [timer, check = std::move(check)] {
        if (check()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(intervalMs);
}

} // namespace platform::testing

namespace platform::testing {

std::vector<Msg> QueuedMessages()
{
    return platform::qt::queuedMessages();
}

} // namespace platform::testing
