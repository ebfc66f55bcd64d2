// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace board {

// What Line draws between its two corners: the line itself, the outline of the box they span, or
// that box filled.
enum class LineMode { Plain, Box, FilledBox };

} // namespace board
