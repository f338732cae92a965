// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/NoteName.h"

#include <cmath>
#include <optional>

namespace {

constexpr int kHighestNoteNumber = 121;

std::optional<int> noteNumber(const QString &digits)
{
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    int number = 0;
    for (const QChar ch : digits) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
        number = number * 10 + (ch.unicode() - '0');
    }
    if (number > kHighestNoteNumber)
        return std::nullopt;
    return number;
}

std::optional<int> letterSemitone(QChar letter)
{
    static const int semitones[] = {0, 2, 3, 5, 7, 8, 10};
    if (letter < QLatin1Char('A') || letter > QLatin1Char('G'))
        return std::nullopt;
    return semitones[letter.unicode() - 'A'];
}

// Reads the optional octave part at the start; returns the index after it.
std::optional<int> readOctave(const QString &t, int &octave)
{
    if (t.startsWith(QLatin1Char('O'))) {
        if (t.size() < 2 || t[1] < QLatin1Char('0') || t[1] > QLatin1Char('9'))
            return std::nullopt;
        octave = t[1].unicode() - '0';
        return 2;
    }
    int i = 0;
    for (; i < t.size() && (t[i] == QLatin1Char('<') || t[i] == QLatin1Char('>')); ++i)
        octave = qBound(NoteName::kMinOctave, octave + (t[i] == QLatin1Char('>') ? 1 : -1),
                        NoteName::kMaxOctave);
    return i;
}

std::optional<int> namedNote(const QString &t, int &octave)
{
    const std::optional<int> start = readOctave(t, octave);
    if (!start || *start >= t.size())
        return std::nullopt;
    const QChar letter = t[*start];
    std::optional<int> semitone = letterSemitone(letter);
    if (!semitone)
        return std::nullopt;
    const QString accidental = t.mid(*start + 1);
    if (accidental == QLatin1String("+") || accidental == QLatin1String("#")) {
        if (letter == QLatin1Char('B') || letter == QLatin1Char('E'))
            return std::nullopt;
        ++*semitone;
    } else if (accidental == QLatin1String("-")) {
        if (letter == QLatin1Char('C') || letter == QLatin1Char('F'))
            return std::nullopt;
        if (letter == QLatin1Char('A')) {
            if (octave == NoteName::kMinOctave)
                return std::nullopt;
            --octave;
            semitone = 12;
        }
        --*semitone;
    } else if (!accidental.isEmpty()) {
        return std::nullopt;
    }
    return *semitone + 12 * octave;
}

} // namespace

NoteName::Result NoteName::parse(const QString &text, int octave)
{
    const QString t = text.trimmed().toUpper();
    std::optional<int> number =
        t.startsWith(QLatin1Char('N')) ? noteNumber(t.mid(1)) : namedNote(t, octave);
    if (!number)
        return {};
    const int frequency = int(std::trunc(440 * std::pow(2.0, (*number - 48) / 12.0) + 0.5));
    if (frequency < 20 || frequency > 20000)
        return {};
    return {frequency, octave};
}
