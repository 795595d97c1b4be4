#pragma once

namespace ui {

enum class ColorScheme { light, dark };

}  // namespace ui
