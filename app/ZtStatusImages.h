// The images on the tabs of the two working pages.
#pragma once

#include <QIcon>

#include <array>

namespace quorvex {

enum TStatusImage { siOk = 0, siChanged = 1, siError = 2 };

inline constexpr int StatusImageSize = 16;

// Green, yellow and red filled dots on a transparent ground, by TStatusImage.
std::array<QIcon, 3> MakeStatusImages();

} // namespace quorvex
