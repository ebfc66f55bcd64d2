// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rangepages.h"

#include <QImage>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace app {

// "Bild speichern …", "Bild kopieren" and "Drucken …": the dialogs around the picture of the
// frame or of the whole range, and the messages when writing or printing fails. Saving offers
// the whole range as file types of their own, printing as a tab "Zahlenbereich" of the print
// dialog; what the frame shows stays the first choice of both.
class ExportDialogs {
  public:
    // picture gives what the frame shows at the moment, range the whole range.
    ExportDialogs(QWidget& window, std::function<QImage()> picture,
                  std::function<RangePages()> range);

    void save();
    void copy();
    void print();
    // Saves the picture, or the whole range; a failure is told in a message box that names the
    // file and the reason.
    bool saveTo(const QString& path, bool wholeRange = false);
    // Prints the picture, or the whole range; a failure is told in a message box, with the file
    // when there is one.
    bool printOn(QPrinter& printer, bool wholeRange = false);

  private:
    QWidget& m_window;
    std::function<QImage()> m_picture;
    std::function<RangePages()> m_range;
};

} // namespace app
