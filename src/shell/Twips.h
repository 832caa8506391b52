#pragma once

// Sizes and positions of the windows are designed in twips; the screen works in logical pixels,
// at 15 twips to the pixel.
inline constexpr int kTwipsPerPixel = 15;

// Logical pixels of a length in twips.
constexpr int twips(int lengthInTwips) { return lengthInTwips / kTwipsPerPixel; }
// Twips of a length in logical pixels.
constexpr int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
