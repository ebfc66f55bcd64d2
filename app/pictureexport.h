// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>

class QPagedPaintDevice;
class QPrinter;

namespace surface {
class PictureBox;
}

namespace app {

// Getting the picture out of the window: what the canvas frame shows, saved as PNG or PDF,
// copied to the clipboard or printed.
class PictureExport {
  public:
    // The inside of the frame left of x = visibleRight (where its scroll bar starts), with the
    // canvas and the scale strip where they are at this moment: the same pixels as on screen, at
    // the screen's pixel ratio. A null image when nothing of the frame is visible.
    static QImage FramePicture(surface::PictureBox& frame, surface::PictureBox& canvas,
                               surface::PictureBox& strip, int visibleRight);
    // A file name for the picture of the range that starts after rangeBase.
    static QString SuggestedName(int rangeBase);
    // Writes PNG or PDF by the file's ending; on failure the reason, in German, is in *error and
    // an existing file of that name is left as it was.
    static bool Save(const QImage& picture, const QString& path, QString* error);
    // The picture fitted to the page, kept in proportion and centred. A printer whose output is
    // a PDF file writes it as Save does; on failure the reason, in German, is in *error.
    static bool Print(const QImage& picture, QPrinter& printer, QString* error);
    // A printer whose output is a PDF file: paints the pages into memory and writes the file as
    // Save does, whole or not at all, and tells whether it was written (else, with the reason in
    // *error: failure if the pages could not be painted). Nothing for a printer on paper.
    static std::optional<bool> PrintToFile(QPrinter& printer,
                                           const std::function<bool(QPagedPaintDevice&)>& paint,
                                           const QString& failure, QString* error);
    static void Copy(const QImage& picture);
};

} // namespace app
