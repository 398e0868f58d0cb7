// The two extended interface libraries: their kinds and the runtime
// services each was handed at start-up.
#pragma once

#include "runtime/library.h"
#include "ui/framework/unit_kind.h"

namespace ui {

// Library 2: tree box, list view, transparent label.
extern const UnitKindDescriptor kTreeBoxKind;
extern const UnitKindDescriptor kListViewKind;
extern const UnitKindDescriptor kTransLabelKind;
// Library 3: the advanced tab.
extern const UnitKindDescriptor kPageControlKind;

std::intptr_t ExtLibrary1Notify(int message, std::uintptr_t a, std::uintptr_t b);
std::intptr_t ExtLibrary3Notify(int message, std::uintptr_t a, std::uintptr_t b);
runtime::ServiceEntry ExtLibraryServices();

} // namespace ui
