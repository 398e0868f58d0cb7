#include "platform/application.h"

#include "platform/qt/input_router.h"

#include <QApplication>
#include <QFont>

namespace platform {
namespace {
QApplication* g_app = nullptr;
}

void InitializeApplication(int& argc, char** argv)
{
    if (g_app)
        return;
    // The process lives until ExitProcess; the application object is never
    // torn down, as the window system's never was.
    g_app = new QApplication(argc, argv);
    g_app->setQuitOnLastWindowClosed(false);
    g_app->installEventFilter(new qt::InputRouter());
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    QApplication::setFont(font);
}

bool IsApplicationInitialized()
{
    return g_app != nullptr;
}

} // namespace platform
