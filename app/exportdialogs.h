// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace app {

// "Bild speichern …", "Bild kopieren" and "Drucken …": the dialogs around the picture of the
// frame, and the messages when writing or printing fails.
class ExportDialogs {
  public:
    // picture gives what the frame shows at the moment, rangeBase the number before column 1.
    ExportDialogs(QWidget& window, std::function<QImage()> picture, std::function<int()> rangeBase);

    void save();
    void copy();
    void print();
    // Saves the picture; a failure is told in a message box that names the file and the reason.
    bool saveTo(const QString& path);
    // Prints the picture; a failure is told in a message box, with the file when there is one.
    bool printOn(QPrinter& printer);

  private:
    QWidget& m_window;
    std::function<QImage()> m_picture;
    std::function<int()> m_rangeBase;
};

} // namespace app
