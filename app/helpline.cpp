// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpline.h"

#include "surface/picturebox.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <initializer_list>

namespace app {

namespace {

const QString searchHelp = QStringLiteral("Alle n mit dieser Eigenschaft markieren");

} // namespace

HelpLine::HelpLine(const Controls& controls, QObject* parent) : QObject(parent), m_c(controls) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{&m_c.cmdIter, &m_c.Frame2, &m_c.txtIter, &m_c.cmdSuche,
                                         &m_c.Frame1, m_c.Text1[0], m_c.Text1[1], m_c.Text1[2]}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    connect(&m_c.picZeichenblatt, &surface::PictureBox::mouseMove, this,
            &HelpLine::picZeichenblatt_MouseMove);
}

void HelpLine::stepRefused(const QString& reason) {
    m_c.txtHilfe.setText(reason);
    m_refusalShown = true;
    m_pointerLeftAfterRefusal = !m_pointerOnIter;
}

void HelpLine::stepTaken() {
    if (!m_refusalShown)
        return;
    m_refusalShown = false;
    m_c.txtHilfe.setText(iterHelpText());
}

bool HelpLine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_c.cmdIter) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
            m_pointerOnIter = true;
        if (event->type() == QEvent::Leave) {
            m_pointerOnIter = false;
            m_pointerLeftAfterRefusal = true;
        }
    }
    if (event->type() != QEvent::MouseMove)
        return false;
    auto* e = static_cast<QMouseEvent*>(event);
    // A frame hears moves only where none of its controls lies.
    auto overFrameItself = [e](QGroupBox& frame) {
        return frame.childAt(e->position().toPoint()) == nullptr;
    };
    if (watched == &m_c.cmdIter)
        cmdIter_MouseMove();
    else if (watched == &m_c.Frame2 && overFrameItself(m_c.Frame2))
        Frame2_MouseMove();
    else if (watched == &m_c.txtIter)
        txtIter_MouseMove();
    else if (watched == &m_c.cmdSuche)
        cmdSuche_MouseMove();
    else if (watched == &m_c.Frame1 && overFrameItself(m_c.Frame1))
        Frame1_MouseMove();
    else
        for (int i = 0; i < 3; ++i)
            if (watched == m_c.Text1[i])
                Text1_MouseMove(i);
    return false;
}

QString HelpLine::iterHelpText() const {
    return QStringLiteral("Summe der echten Teiler von ") + m_c.txtIter.text() +
           QStringLiteral(" berechnen");
}

// A refused step's message stays while the pointer is still on the button it pressed; the first
// move over the button after the pointer has been elsewhere writes the help text again.
void HelpLine::cmdIter_MouseMove() {
    if (m_refusalShown && !m_pointerLeftAfterRefusal)
        return;
    m_refusalShown = false;
    m_c.txtHilfe.setText(iterHelpText());
}

void HelpLine::Frame2_MouseMove() {
    m_c.txtHilfe.setText(iterHelpText());
}

void HelpLine::txtIter_MouseMove() {
    m_c.txtHilfe.setText(QStringLiteral("Zur Primfaktorzerlegung: Anklicken!"));
}

void HelpLine::cmdSuche_MouseMove() {
    m_c.txtHilfe.setText(searchHelp);
}

void HelpLine::Frame1_MouseMove() {
    m_c.txtHilfe.setText(searchHelp);
}

void HelpLine::Text1_MouseMove(int) {
    m_c.txtHilfe.setText(searchHelp);
}

void HelpLine::picZeichenblatt_MouseMove() {
    m_c.txtHilfe.setText(QStringLiteral("Anzeigefeld für die Primfaktorzerlegung"));
}

} // namespace app
