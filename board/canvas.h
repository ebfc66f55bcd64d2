// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/drawing.h"
#include "board/drawsettings.h"

#include <QVector>
#include <functional>
#include <utility>

namespace board {

// What a step of the history changes on a picture: its list of drawings and its drawing
// settings. The picture box that shows the list is one; a test's plain list is another.
class Canvas {
  public:
    virtual ~Canvas() = default;
    // What the picture shows, in the order it was drawn.
    virtual const QVector<Drawing>& drawings() const = 0;
    // Keeps the first `keep` drawings and puts `tail` after them.
    virtual void replaceDrawings(qsizetype keep, const QVector<Drawing>& tail) = 0;
    virtual DrawSettings settings() const = 0;
    virtual void setSettings(const DrawSettings& settings) = 0;

    // Whom the canvas tells when it drops one of its drawings on its own account (one that a
    // later drawing covers completely): the drawing and the index it has in drawings() up to
    // then. The history listens, to keep it for undo.
    void setRemovalListener(std::function<void(qsizetype index, const Drawing&)> listener) {
        m_removalListener = std::move(listener);
    }

  protected:
    void tellAboutToRemove(qsizetype index, const Drawing& drawing) const {
        if (m_removalListener)
            m_removalListener(index, drawing);
    }

  private:
    std::function<void(qsizetype, const Drawing&)> m_removalListener;
};

} // namespace board
