// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
//
// libFuzzer target for the drawing path of the factorization sheet: the text typed into the box
// becomes the current number, and the sheet draws its factorization on a picture box under an
// offscreen QApplication. The text and arithmetic underneath have their faster target in
// textfuzzer.cpp. Besides crashes and sanitizer reports it fails on broken invariants and on any
// input slower than 10 ms, drawing included.
#include "divisors/primefactors.h"
#include "factor/factorizationsheet.h"
#include "fuzz/harness.h"
#include "surface/fontchoice.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

#include <QApplication>
#include <QFont>
#include <QString>
#include <algorithm>
#include <cstdint>

using fuzz::Harness;
using surface::NumberText;

namespace {

Harness harness;
QString input; // reused for every input
surface::PictureBox* sheet = nullptr;

void process(const std::uint8_t* data, std::size_t size) {
    harness.decode(data, size, input);
    const double value = NumberText::lenient(input);
    const double current = factor::FactorizationSheet::ShowTypedNumber(*sheet, input);
    if (!Harness::sameNumber(current, value))
        Harness::fail("the sheet's current number is not the lenient reading", input);
    // The head, then each prime and its exponent. PrimeFactors gives the count, so every number
    // drawn also checks how many factors the sheet's own trial division finds, beyond those the
    // text target compares within its budget.
    const auto m = NumberText::roundToInt32(value);
    qsizetype expected = 0;
    if (m && *m >= 1)
        expected = 1 + 2 * static_cast<qsizetype>(
                               divisors::PrimeFactors(static_cast<std::uint64_t>(*m)).size());
    const qsizetype prints = std::count_if(sheet->records().begin(), sheet->records().end(),
                                           [](const auto& call) { return call.op == "Print"; });
    if (prints != expected)
        Harness::fail("the sheet does not show the head and every factor with its exponent", input);
    // Free the records within the input: memory still held after it makes libFuzzer suspect a
    // leak and run a full leak check, which costs more than the drawing.
    sheet->clearRecords();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc;
    (void)argv;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "teiler_fuzz_sheet";
    static char* qtArgv[] = {name, nullptr};
    surface::FontChoice::PreferLiberation2(); // the window's faces, as in the program
    new QApplication(qtArgc, qtArgv);
    // The sheet as the window has it: 16000 x 675 twips, Courier New 10.2 pt bold.
    sheet = new surface::PictureBox;
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(10.2);
    font.setBold(true);
    sheet->setBoxFont(font);
    sheet->resize(1067, 45);
    sheet->Scale(0, 1, 2, 30);
    sheet->setRecording(true);
    // The first drawing loads fonts; keep that out of the timed inputs.
    const char warmUp[] = "720";
    process(reinterpret_cast<const std::uint8_t*>(warmUp), 3);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Harness::runTimed(process, data, size);
    return 0;
}
