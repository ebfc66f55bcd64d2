// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "appicon.h"

#include <QDir>
#include <cstdio>

// Writes the window's icon images as the PNG files of the hicolor theme, so that the installed
// icon is pixel for pixel the one the window shows: <dir>/16x16/apps/teiler.png and 32x32.
int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: teiler_iconwriter <output directory>\n", stderr);
        return 2;
    }
    // Plain raster drawing into an image: no windowing system needed.
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 32}) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(dir + QStringLiteral("/teiler.png"));
        if (!out.mkpath(dir) || !app::AppIcon::image(size).save(file, "PNG")) {
            std::fprintf(stderr, "teiler_iconwriter: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
