// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
//
// libFuzzer target for opening a ".teiler" file: any bytes go to BoardFile::Read. What it accepts
// must save again and open as the same board, and what it refuses must come with a reason.
// Besides crashes and sanitizer reports it fails on any input slower than 10 ms.
#include "board/boardfile.h"
#include "fuzz/harness.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

using board::Board;
using board::BoardFile;
using fuzz::Harness;

namespace {

void process(const std::uint8_t* data, std::size_t size) {
    // Without a copy: Read keeps nothing of the bytes.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString reason;
    const std::optional<Board> board = BoardFile::Read(bytes, &reason);
    if (!board) {
        if (reason.isEmpty())
            Harness::fail("a refused board without a reason", QString::fromUtf8(bytes));
        return;
    }
    const std::optional<QByteArray> saved = BoardFile::Write(*board, &reason);
    if (!saved)
        Harness::fail("an opened board is refused for saving", reason);
    const std::optional<Board> again = BoardFile::Read(*saved, &reason);
    if (!again)
        Harness::fail("a saved board does not open", reason);
    if (!(*again == *board))
        Harness::fail("a saved board opens as another board", QString::fromUtf8(*saved));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Harness::runTimed(process, data, size);
    return 0;
}
