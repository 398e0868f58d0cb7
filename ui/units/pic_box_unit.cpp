#include "ui/units/pic_box_unit.h"

#include "platform/gdi.h"
#include "platform/messages.h"
#include "platform/picture.h"
#include "platform/window.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"
#include "ui/units/picture_placement.h"

namespace ui {
namespace {

using namespace platform;

// Posted by the frame clock: wParam the frame now due.
constexpr std::uint32_t kFrameDueMessage = WM_USER + 1;

} // namespace

PicBoxUnit::~PicBoxUnit() = default;

bool PicBoxUnit::createControl(const UnitCreateParams& p)
{
    RegisterUnitWindowClass(kPicBoxClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    if (!CreateUnitWindow(this, p, kPicBoxClass, p.style))
        return false;
    loadPicture();
    ApplyBorderStyle(handle(), m_settings.borderStyle);
    return true;
}

// A picture that is none, or does not decode, leaves the background only.
void PicBoxUnit::loadPicture()
{
    m_clock.reset();
    m_frames.clear();
    m_scaled.reset();
    m_current = 0;
    std::optional<DecodedPicture> picture = DecodePicture(m_settings.picture);
    if (picture) {
        auto add = [this](const PictureImage& image, int delayMs) {
            Frame& f = m_frames.emplace_back();
            f.bitmap.reset(CreateBitmapFromPixels(image.width, image.height, image.pixels));
            f.delayMs = delayMs;
        };
        if (picture->frames.empty())
            add(picture->image, 0);
        for (const PictureFrame& frame : picture->frames)
            add(frame.image, frame.delayMs);
        m_loops = picture->loopCount;
    }
    startAnimation();
    InvalidateRect(handle(), nullptr, true);
}

void PicBoxUnit::startAnimation()
{
    m_clock.reset();
    if (m_settings.animation == 0 || m_frames.size() < 2)
        return;
    std::vector<int> delays;
    for (const Frame& f : m_frames)
        delays.push_back(f.delayMs);
    m_clock = std::make_unique<FrameClock>(handle(), kFrameDueMessage, ++m_clockTag, std::move(delays), m_loops);
}

bool PicBoxUnit::apply(PicBoxData::Effect effect)
{
    using E = PicBoxData::Effect;
    switch (effect) {
    case E::Border:
        ApplyBorderStyle(handle(), m_settings.borderStyle);
        break;
    case E::Repaint:
        InvalidateRect(handle(), nullptr, true);
        UpdateWindow(handle());
        break;
    case E::Picture:
        loadPicture();
        break;
    case E::Animation:
        startAnimation();
        break;
    case E::None:
        break;
    }
    return false;
}

// Mode 0 copies; modes 1 and 2 shrink or stretch smoothly, from a copy
// scaled once for the place it is drawn in.
void PicBoxUnit::paint()
{
    PaintStruct ps;
    Hdc dc = BeginPaint(handle(), ps);
    if (m_current < m_frames.size()) {
        Bitmap bitmap = m_frames[m_current].bitmap.get();
        Size size = GetBitmapSize(bitmap);
        Rect client = GetClientRect(handle());
        Rect at = PicturePlacement(m_settings.displayMode, {client.width(), client.height()}, size);
        if (m_settings.displayMode == 0 || (at.width() == size.cx && at.height() == size.cy)) {
            StretchDrawBitmap(dc, bitmap, at, Rect::fromSize(0, 0, size.cx, size.cy), false);
        } else {
            if (m_scaled.get() == Bitmap::Null || m_scaledFor != at || m_scaledFrame != m_current) {
                m_scaled.reset(CreateScaledBitmap(bitmap, {at.width(), at.height()}, true));
                m_scaledFor = at;
                m_scaledFrame = m_current;
            }
            StretchDrawBitmap(dc, m_scaled.get(), at, Rect::fromSize(0, 0, at.width(), at.height()), false);
        }
    }
    EndPaint(handle(), ps);
}

LResult PicBoxUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        FillRect(Hdc(wParam), GetClientRect(handle()), ColorOfSetting(m_settings.backgroundColor));
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case kFrameDueMessage:
        if (m_clock && lParam == m_clockTag && std::size_t(wParam) < m_frames.size()) {
            m_current = std::size_t(wParam);
            InvalidateRect(handle(), nullptr, false);
        }
        return 0;
    case WM_DESTROY:
        // The clock's thread is joined before the window it posts to goes.
        m_clock.reset();
        break;
    default:
        break;
    }
    return UnitObject::windowProc(message, wParam, lParam);
}

namespace {

UnitObject* createPicBox(const UnitCreateParams& p)
{
    return MakeDescribedUnit<PicBoxUnit>(p);
}

constexpr KindRoutines kPicBoxRoutines = DescribedKindRoutines<PicBoxUnit>(createPicBox);
const std::vector<PropertyDescriptor> kPicBoxProperties = PropertyTypeTable(PicBoxDescription());

} // namespace

const UnitKindDescriptor kPicBoxKind{
    .chineseName = "图片框",
    .englishName = "PicBox",
    .stateFlags = 0x840100C0,
    .propertyCount = std::int32_t(kPicBoxProperties.size()),
    .properties = kPicBoxProperties.data(),
    .kindEntry = KindEntryFor<kPicBoxRoutines>,
};

} // namespace ui
