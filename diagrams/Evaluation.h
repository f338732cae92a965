// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// Turns the 24 readings of one set into deviations from the set's own mean on a
// logarithmic scale, and sorts them into five colour classes.
class Evaluation
{
public:
    static constexpr int kMeridians = 12;
    static constexpr int kSides = 2;
    static constexpr int kCells = kMeridians * kSides;

    // Colour values are laid out 0x00BBGGRR, red in the low byte.
    static constexpr quint32 kBlue = 0x00FF0000;
    static constexpr quint32 kLightBlue = 0x00FFA0A0;
    static constexpr quint32 kGreen = 0x0000FF00;
    static constexpr quint32 kLightRed = 0x00A0A0FF;
    static constexpr quint32 kRed = 0x000000FF;
    // A missing reading has no class; it is drawn without colour.
    static constexpr quint32 kNoClass = 0xFFFFFFFF;

    // Meridians in grid order: Lu, Hc, Ht, Si, Th, Li, Sp, Lv, Ki, Bl, Gb, St.
    enum Meridian
    {
        Lu,
        Hc,
        Ht,
        Si,
        Th,
        Li,
        Sp,
        Lv,
        Ki,
        Bl,
        Gb,
        St
    };
    enum Side
    {
        Left,
        Right
    };

    static const std::array<double, kMeridians> MeridianFactor;
    static const std::array<const char *, kMeridians> MeridianCodes;

    // Cell texts meridian by meridian, left before right: index = meridian * 2 + side.
    using Cells = std::array<QString, kCells>;

    struct Result
    {
        // A missing reading has deviation 0, class kNoClass and is not present.
        double Deviation[kMeridians][kSides] = {};
        quint32 ClassColor[kMeridians][kSides] = {};
        bool Present[kMeridians][kSides] = {};
        int presentCount() const;
        // The set's rounded mean and its place on the logarithmic scale.
        qint64 Mean = 0;
        double Reference = 0;
    };

    static Result evaluate(const Cells &cells);
    // The cells of a stored treatment sheet: all left readings, then all right ones, a
    // negative reading standing for an empty cell.
    static Cells storedCells(const std::array<qint32, kCells> &stored);

    // A cell that is empty, not an integer or negative counts as 0.
    static qint64 reading(const QString &text);
    // An empty cell holds no reading; it still enters the mean as 0.
    static bool present(const QString &text);
    // Half to even, like the mean of the set is rounded.
    static qint64 roundedMean(qint64 sum);
    static quint32 classColor(double deviation);
};
