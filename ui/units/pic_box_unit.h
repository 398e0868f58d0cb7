// The PicBox: a picture drawn in a window of its own class ("_VX_PicBox")
// over its background colour, placed by its display mode (picture
// placement.h).  An animated GIF picture plays on a thread of its own
// while the animation setting asks for it.  Properties 8-12: border,
// background colour, picture, display mode, animation.
#pragma once

#include "ui/framework/control_settings.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/unit_kind.h"
#include "ui/units/frame_clock.h"
#include "ui/units/pic_box_data.h"

#include <memory>
#include <vector>

namespace ui {

inline constexpr const char* kPicBoxClass = "_VX_PicBox";

class PicBoxUnit final : public DescribedUnit<PicBoxData> {
public:
    ~PicBoxUnit() override;

    static const KindDescription<PicBoxData>& description() { return PicBoxDescription(); }
    PropertyValue liveValue(PicBoxData::Live) const { return {}; }
    bool apply(PicBoxData::Effect effect);

    // The picture's frames (one for a still picture; none without one) and
    // the one shown.
    std::size_t frameCount() const { return m_frames.size(); }
    std::size_t currentFrame() const { return m_current; }
    bool animating() const { return m_clock != nullptr; }

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);
    void loadPicture();
    void startAnimation();
    void paint();

    struct Frame {
        OwnedBitmap bitmap;
        int delayMs = 0;
    };
    std::vector<Frame> m_frames;
    int m_loops = 0;
    std::size_t m_current = 0;
    // The shown frame scaled to where it is drawn, made once per size: a
    // large picture is not shrunk again at every paint.
    OwnedBitmap m_scaled;
    platform::Rect m_scaledFor{};
    std::size_t m_scaledFrame = 0;
    std::unique_ptr<FrameClock> m_clock;
    platform::LParam m_clockTag = 0; // told to each clock started, so that a stopped one's frames are ignored
};

extern const UnitKindDescriptor kPicBoxKind;

} // namespace ui
