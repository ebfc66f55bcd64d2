// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace surface {

// Which font files the program draws with. The canvas and the window are laid out in the
// Liberation 2 faces (Debian's fonts-liberation2), which stand in for Times New Roman, Courier
// New and Arial. Many systems also carry the Liberation 1.x faces (fonts-liberation, pulled in by
// office suites) under the same family names but with other outlines; with both installed Qt
// takes either, face by face, and the pictures change.
class FontChoice {
  public:
    // Hides from fontconfig every Liberation face of a family that is also installed in version
    // 2: the current configuration becomes the system's own with those files rejected. All other
    // fonts stay as they are, and the choice holds for the rest of the run. Call it before the
    // first QGuiApplication exists, since Qt reads fontconfig's list of fonts only once per
    // application object. Without fontconfig it names the Liberation 2 faces as the substitutes
    // of the faces they stand in for.
    static void PreferLiberation2();
};

} // namespace surface
