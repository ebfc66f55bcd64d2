// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

namespace app {

// The application icon: a small divisor skyline over a yellow number line, in 16 colours.
class AppIcon {
  public:
    static QImage image(int size); // 16 or 32 pixels
    static QIcon make();
};

} // namespace app
