// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picturebox.h"

#include <QObject>
#include <QVariant>
#include <QVector>
#include <deque>
#include <optional>

namespace surface {

// Undo and redo for what is drawn on one picture box. Each step runs from begin() to end() (a
// menu command, a stroke from press to release); steps begun inside an open step join it. A step
// keeps only what it changed: the drawings it added and, when it cleared the box, the drawings
// it cleared. Beside the drawings it keeps the box's settings and whatever the caller hands in
// as its own state before and after.
class DrawingHistory : public QObject {
    Q_OBJECT
  public:
    explicit DrawingHistory(PictureBox& box, int depth = 100);

    void begin(const QVariant& stateBefore);
    void end(const QVariant& stateAfter);
    bool isOpen() const { return m_depth > 0; }
    bool canUndo() const { return !isOpen() && !m_done.empty(); }
    bool canRedo() const { return !isOpen() && !m_undone.empty(); }
    // Puts the box back as it was before the last step; the caller's state then, if any.
    std::optional<QVariant> undo();
    std::optional<QVariant> redo();
    void clear();

  signals:
    void changed(); // what undo and redo can do has changed

  private:
    struct Step {
        qsizetype prefix = 0; // the drawings before and after have this many in common
        QVector<PictureBox::Drawing> before; // after the prefix, before the step
        QVector<PictureBox::Drawing> after;  // after the prefix, after the step
        PictureBox::Settings settingsBefore, settingsAfter;
        QVariant stateBefore, stateAfter;
    };
    void boxAboutToClear();
    std::optional<QVariant> walk(std::deque<Step>& from, std::deque<Step>& to, bool forward);

    PictureBox& m_box;
    int m_maxSteps;
    int m_depth = 0;
    Step m_open;
    bool m_openCleared = false;
    bool m_openVoid = false; // cleared while open (a board opened while a chart yields)
    std::deque<Step> m_done;
    std::deque<Step> m_undone;
};

} // namespace surface
