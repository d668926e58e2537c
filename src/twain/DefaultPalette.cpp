#include "DefaultPalette.h"

namespace twain {

namespace {

struct Rgb
{
    uint8_t r, g, b;
};

constexpr Rgb FirstStatic[10] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
                                 {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}};
constexpr Rgb LastStatic[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
                                {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
constexpr Rgb DarkGreys[12] = {{4, 4, 4},    {8, 8, 8},    {12, 12, 12}, {17, 17, 17}, {22, 22, 22}, {28, 28, 28},
                               {34, 34, 34}, {41, 41, 41}, {85, 85, 85}, {77, 77, 77}, {66, 66, 66}, {57, 57, 57}};
constexpr Rgb Specials[7] = {{255, 124, 128}, {255, 80, 80},   {214, 0, 147},  {204, 236, 255},
                             {239, 214, 198}, {231, 231, 214}, {173, 169, 144}};
constexpr Rgb LastMiddle[13] = {{165, 0, 33},    {95, 95, 95},    {119, 119, 119}, {134, 134, 134}, {150, 150, 150},
                                {203, 203, 203}, {178, 178, 178}, {215, 215, 215}, {221, 221, 221}, {227, 227, 227},
                                {234, 234, 234}, {241, 241, 241}, {248, 248, 248}};

std::array<TWAIN_PALETTEENTRY, 256> build()
{
    std::array<TWAIN_PALETTEENTRY, 256> p{};
    std::size_t i = 0;
    auto add = [&](const Rgb &c, uint8_t flags) { p[i++] = TWAIN_PALETTEENTRY{c.r, c.g, c.b, flags}; };
    const auto nc = static_cast<uint8_t>(TWAIN_PC_NOCOLLAPSE);
    for (const Rgb &c : FirstStatic)
        add(c, 0);
    for (const Rgb &c : DarkGreys)
        add(c, nc);
    for (const Rgb &c : Specials)
        add(c, nc);
    // The cube without its eight corners (static colours already) and
    // without its four inner greys (the grey shades cover them).
    for (int b = 0; b < 6; ++b)
        for (int g = 0; g < 6; ++g)
            for (int r = 0; r < 6; ++r) {
                const bool corner = (r == 0 || r == 5) && (g == 0 || g == 5) && (b == 0 || b == 5);
                const bool innerGrey = r == g && g == b;
                if (corner || innerGrey)
                    continue;
                add(Rgb{uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51)}, nc);
            }
    for (const Rgb &c : LastMiddle)
        add(c, nc);
    for (const Rgb &c : LastStatic)
        add(c, 0);
    return p;
}

} // namespace

const std::array<TWAIN_PALETTEENTRY, 256> &DefaultPalette()
{
    static const std::array<TWAIN_PALETTEENTRY, 256> palette = build();
    return palette;
}

} // namespace twain
