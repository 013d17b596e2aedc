#pragma once
// The five button values of anything that names them as the button dialog
// does (the dialog itself, the view), to and from the engine's ButtonParams:
// the one place where they are copied field by field.

#include "engine/ButtonParams.h"

#include <cstdint>
#include <type_traits>

namespace pelto {

template <class Holder> ButtonParams ButtonValuesOf(const Holder& holder) {
    return {static_cast<int32_t>(holder.m_nLightAngle), static_cast<int32_t>(holder.m_nContrast),
            static_cast<int32_t>(holder.m_nBevelWidth), static_cast<int32_t>(holder.m_nShape),
            static_cast<int32_t>(holder.m_nOutline)};
}

template <class Holder> void SetButtonValues(Holder& holder, const ButtonParams& params) {
    const auto to = [](auto& field, int32_t value) {
        field = static_cast<std::remove_reference_t<decltype(field)>>(value);
    };
    to(holder.m_nLightAngle, params.angle);
    to(holder.m_nContrast, params.contrast);
    to(holder.m_nBevelWidth, params.width);
    to(holder.m_nShape, params.shape);
    to(holder.m_nOutline, params.outline);
}

} // namespace pelto
