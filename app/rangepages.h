// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/shownchart.h"

#include <QImage>
#include <QString>
#include <QVector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace surface {
class PictureBox;
}

namespace app {

// The whole range on paper: all columns of the canvas with the scale strip, as one wide picture
// or on A4 landscape pages of about 50 columns, each with the strip and a caption line.
class RangePages {
  public:
    // Columns first to last, both included.
    struct Span {
        int first = 0;
        int last = 0;
        bool operator==(const Span&) const = default;
    };
    // A page holds perPage columns, the last `overlap` of them again at the start of the next.
    static constexpr int perPage = 51;
    static constexpr int overlap = 1;

    // The pages for columns 1 to count; every page but the last holds perPage columns.
    static QVector<Span> Split(int count, int perPage, int overlap);
    // "Teiler – 1...500 – Teileranzahl T(n) – Seite 2 von 10 (Spalten 51 bis 101)"; without
    // the chart when charts is empty. page counts from 1.
    static QString Caption(int rangeBase, const QString& charts, int page, int pages,
                           const Span& span);
    // The menu's names of the charts, as the caption shows them.
    static QString ChartNames(const QVector<charts::ShownChart::Chart>& shown);

    // canvas and strip stay the window's; sumMode tells which sum chart was drawn last.
    RangePages(const surface::PictureBox& canvas, const surface::PictureBox& strip, int rangeBase,
               int sumMode);

    int rangeBase() const { return m_rangeBase; }
    QVector<Span> pages() const;
    // The caption of page (from 1).
    QString caption(int page) const;
    // The strip and the whole canvas side by side, pixel for pixel as the screen shows them, at
    // the canvas's pixel ratio (at most 2). A null image when there is no memory for it.
    QImage picture() const;
    // Every page, each on its own sheet of the device; false when painting could not begin.
    bool paint(QPagedPaintDevice& device) const;
    // PNG (the picture) or PDF (the pages) by the file's ending, through the safe writer; on
    // failure the reason, in German, is in *error and an existing file is left as it was.
    bool save(const QString& path, QString* error) const;
    // The pages on the printer; a printer whose output is a PDF file writes it as save does.
    bool print(QPrinter& printer, QString* error) const;

  private:
    void paintPage(QPainter& painter, const QRectF& page, int number) const;

    const surface::PictureBox& m_canvas;
    const surface::PictureBox& m_strip;
    int m_rangeBase = 0;
    QString m_charts;
};

} // namespace app
