// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace factor {

// The "S" button: replaces the number in the text box by the sum of its proper divisors, so that
// repeated steps walk the aliquot sequence 220, 284, 220, ...
class AliquotStep {
  public:
    // Largest number the step accepts: the number text still writes every digit of it.
    static constexpr double largestInput = 999999999999999.0;

    struct Outcome {
        double read = 0;       // the number the text reads as
        bool accepted = false; // false: negative, too large or not finite; change nothing
        double sum = 0;        // S(read) when accepted
        QString text;          // the new text of the box when accepted, all digits written
    };

    // One step on the text of the box. Text that does not start with a number reads as 0 and
    // gives 1, like 0 itself; a number with a fractional part gives 1.
    static Outcome Step(QStringView text);

    // The help line after a refused step.
    static QString RefusalText();
};

} // namespace factor
