// The unit that stands in for one whose kind cannot be created: a plain
// window showing, in red, why there is nothing else.
#pragma once

#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_object.h"

namespace ui {

inline constexpr const char* kPlaceholderText = "因所在支持库载入出错而无法创建";
inline constexpr const char* kPlaceholderClass = "_VX_PlaceHolder";

class PlaceholderUnit final : public UnitObject {
public:
    using UnitObject::UnitObject;
    static PlaceholderUnit* create(const UnitCreateParams& params);

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;
};

} // namespace ui
