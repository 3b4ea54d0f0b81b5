#pragma once
// Twips (1440 per inch), the unit of the grids' widths and positions, and screen pixels.

namespace trelmo {

constexpr int TwipsPerInch = 1440;

// Laying a grid out rounds down, as the grid control does with its twip sizes. Placing the cell editor rounds to the
// nearest pixel, so that a position the grid reported in twips (rounded down from pixels) comes back as that very
// pixel.
enum class PixelRounding { Down, Nearest };

constexpr int TwipsToPixels(int twips, int dotsPerInch, PixelRounding rounding)
{
    const int halfTwip = rounding == PixelRounding::Nearest ? TwipsPerInch / 2 : 0;
    return (twips * dotsPerInch + halfTwip) / TwipsPerInch;
}

// Rounds down.
constexpr int PixelsToTwips(int pixels, int dotsPerInch)
{
    return pixels * TwipsPerInch / dotsPerInch;
}

// Whole twips per pixel, rounded down.
constexpr int TwipsPerPixel(int dotsPerInch)
{
    return TwipsPerInch / dotsPerInch;
}

} // namespace trelmo
