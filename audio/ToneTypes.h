// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Numeric values are stored in settings; keep the order.
enum TTGWave
{
    tgSine,
    tgSquare,
    tgTriangle,
    tgSawtooth,
    tgNoise
};
enum TTGResolution
{
    tg16Bit,
    tg8Bit
};
enum TTGQuality
{
    tgHiQ,
    tgLoQ
};
enum TTGAMLevel
{
    tgAMLevel1,
    tgAMLevel2,
    tgAMLevel3,
    tgAMLevel4,
    tgAMLevel5,
    tgAMLevel6,
    tgAMLevel7,
    tgAMLevel8
};

constexpr int kAMLevelCount = 8;

// A level read from stored settings may be out of range; it never indexes past the tables.
constexpr TTGAMLevel validLevel(TTGAMLevel level)
{
    return level < tgAMLevel1 ? tgAMLevel1 : level > tgAMLevel8 ? tgAMLevel8 : level;
}
