// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QVariant>
#include <array>

class QTouchEvent;

namespace surface {
class PictureBox;
class ScrollBar;
} // namespace surface

namespace interact {

// The zoom of the output canvas in its frame, from 100% to 400%. The canvas shows its drawings
// enlarged, the strip of row numbers beside it grows as high, and the point of the picture under
// the pointer (or between two fingers) stays where it is. The scroll bars keep placing the canvas
// as at 100% (Left = 1 - HScAusgabe, Top = vscHoch - 24, in hundredths of the frame): only their
// ends reach further, HScAusgabe's right end by the width the canvas gained and vscHoch's bottom
// end by the height, so that at either end the same edge of the canvas shows as at 100%.
// Back at 100% with no scroll since the zoom left it, the canvas lies exactly where it lay before.
// Two fingers on the canvas pinch the zoom; a line or pick the first finger began is dropped.
class CanvasZoom : public QObject {
    Q_OBJECT
  public:
    struct Controls {
        surface::PictureBox& frame;  // picRahmen, scaled in hundredths
        surface::PictureBox& canvas; // picAusgabe
        surface::PictureBox& strip;  // picSkala
        surface::ScrollBar& across;  // HScAusgabe
        surface::ScrollBar& down;    // vscHoch
    };
    static constexpr double smallest = 1;
    static constexpr double largest = 4;
    // Where "Vergrößern" and "Verkleinern" go.
    static constexpr std::array<double, 7> steps = {1, 1.25, 1.5, 2, 2.5, 3, 4};

    // Takes the controls as they are now as their size at 100% and watches the canvas's touches.
    CanvasZoom(Controls controls, QObject* parent = nullptr);

    double zoom() const { return m_zoom; }
    // Zooms to zoom (kept between smallest and largest) around anchor, in pixels of the frame.
    void zoomTo(double zoom, QPointF anchor);
    void zoomIn(QPointF anchor);
    void zoomOut(QPointF anchor);
    QPointF frameCentre() const;

    // The scroll bars' Values as they would stand at 100% showing the same left edge and bottom
    // of the picture, which a board keeps; and the bars set from such Values at the zoom shown.
    int unzoomedAcross() const;
    int unzoomedDown() const;
    void scrollTo(int unzoomedAcross, int unzoomedDown);

  signals:
    void zoomChanged(double zoom);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool touchEvent(QTouchEvent* event);
    // The pixel of the picture at 100% that a point of the frame shows.
    QPointF pictureAt(QPointF framePoint) const;
    // Zooms so that anchor, a point of the frame, shows the pixel shown of the picture at 100%.
    void place(double zoom, QPointF anchor, QPointF shown);
    double hundredthX() const; // pixels of a hundredth of the frame
    double hundredthY() const;

    Controls m_controls;
    double m_zoom = 1;
    int m_acrossEnd;   // HScAusgabe's Max at 100%
    int m_downEnd;     // vscHoch's Max at 100%
    int m_stripHeight; // picSkala's at 100%
    bool m_pinching = false;
    double m_pinchSpan = 0; // distance of the fingers when the pinch began
    double m_pinchZoom = 1; // the zoom then
    QPointF m_pinchShown;   // the pixel of the picture the fingers hold between them
    // Where the canvas lay when the zoom left 100%, and the bars' Values the zoom set last.
    struct Home {
        QPoint canvas, strip;
        QVariant left, top, stripTop; // Left and Top as the frame kept them
        int across = 0, down = 0;
        int zoomedAcross = 0, zoomedDown = 0;
    } m_home;
};

} // namespace interact
