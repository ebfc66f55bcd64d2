// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pentools.h"

#include "board/document.h"
#include "board/pensettings.h"
#include "interact/inkstrokes.h"
#include "interact/peninput.h"
#include "surface/picturebox.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

namespace app {

using interact::Ink;
using interact::PenInput;

namespace {

// What the help line says of each choice.
constexpr const char* inkTips[Ink::choices] = {
    "Der Stift zeichnet dunkelblau, wie die rechte Maustaste.",
    "Der Stift zeichnet blaugrün.",
    "Der Stift zeichnet purpurn.",
    "Der Stift zeichnet braun.",
    "Der Stift hebt breit und durchscheinend hervor; die Zahlen darunter bleiben lesbar.",
};

bool isTextBox(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

} // namespace

PenTools::PenTools(QMenu& menu, QAction& penMode, PenInput& pen, board::Document& document,
                   QObject* parent)
    : QObject(parent), m_penMode(penMode), m_pen(pen), m_document(document),
      m_canvas(&pen.canvas()) {
    buildMenu(menu);
    connect(&m_penMode, &QAction::toggled, &m_pen, &PenInput::setLeftButtonDraws);
    m_strokes = new interact::InkStrokes(pen.canvas(), this);
    // The ink is wanted at the press that draws with it.
    connect(&pen, &PenInput::mouseDown, this, [this](int button, int shift, double x, double y) {
        load();
        m_strokes->mouseDown(button, shift, x, y);
    });
    connect(&pen, &PenInput::mouseMove, m_strokes, &interact::InkStrokes::mouseMove);
    connect(&pen, &PenInput::mouseUp, m_strokes, &interact::InkStrokes::mouseUp);
    // The left button's moves the canvas reports itself.
    connect(&pen.canvas(), &surface::PictureBox::mouseMove, m_strokes,
            &interact::InkStrokes::mouseMove);
    connect(&menu, &QMenu::aboutToShow, this, &PenTools::load);
    qApp->installEventFilter(this);
    apply();
}

PenTools::~PenTools() = default;

void PenTools::buildMenu(QMenu& menu) {
    m_submenu = new QMenu(QStringLiteral("St&ift"), &menu);
    m_submenu->setObjectName(QStringLiteral("cmdTinte"));
    const QList<QAction*> entries = menu.actions();
    const qsizetype at = entries.indexOf(&m_penMode);
    menu.insertMenu(entries.value(at + 1), m_submenu);
    m_group = new QActionGroup(this);
    const auto add = [this](const QString& text, const char* name, const char* tip) {
        QAction* entry = m_submenu->addAction(text);
        entry->setObjectName(QString::fromLatin1(name));
        entry->setCheckable(true);
        entry->setStatusTip(QString::fromUtf8(tip));
        connect(entry, &QAction::triggered, this, [this, entry] { chosen(entry); });
        return entry;
    };
    constexpr const char* names[Ink::choices] = {"cmdTinte1", "cmdTinte2", "cmdTinte3", "cmdTinte4",
                                                 "cmdTextmarker"};
    for (int i = 0; i < Ink::choices; ++i) {
        m_inks[size_t(i)] =
            add(Ink::name(i) + QStringLiteral("\t%1").arg(i + 1), names[i], inkTips[i]);
        m_group->addAction(m_inks[size_t(i)]);
    }
    m_eraser = add(QStringLiteral("&Radierer\tE"), "cmdRadierer",
                   "Der Stift nimmt jeden Strich, den er berührt, ganz weg.");
    m_group->addAction(m_eraser);
    m_submenu->addSeparator();
    m_thick =
        add(QStringLiteral("D&ick"), "cmdDick", "Die Farben des Stifts zeichnen doppelt so breit.");
    m_inks[0]->setChecked(true);
}

void PenTools::capture(board::Board& board) const {
    board.penMode = m_penMode.isChecked();
    board.penInk = m_ink;
    board.penThick = m_thick->isChecked();
}

// A board's ink is the one from then on; the settings no longer decide it.
void PenTools::show(const board::Board& board) {
    m_strokes->stop();
    m_loaded = true;
    m_penMode.setChecked(board.penMode);
    setInk(board.penInk, board.penThick);
}

QSettings& PenTools::settings() {
    if (!m_settings)
        m_settings =
            std::make_unique<QSettings>(QStringLiteral("Teiler"), QStringLiteral("Teiler"));
    return *m_settings;
}

void PenTools::load() {
    if (m_loaded)
        return;
    m_loaded = true;
    const board::PenSettings stored(settings());
    setInk(stored.ink(), stored.thick());
}

// The eraser, no ink, stays chosen if it is.
void PenTools::setInk(int ink, bool thick) {
    m_ink = ink >= 0 && ink < Ink::choices ? ink : 0;
    if (!m_eraser->isChecked())
        m_inks[size_t(m_ink)]->setChecked(true);
    m_thick->setChecked(thick);
    apply();
}

// A choice made before the settings were read is the one that counts.
void PenTools::chosen(QAction* entry) {
    m_loaded = true;
    const int before = m_ink;
    const bool thickBefore = m_thick->isChecked() != (entry == m_thick);
    const auto ink = std::find(m_inks.cbegin(), m_inks.cend(), entry);
    if (ink != m_inks.cend())
        m_ink = int(ink - m_inks.cbegin());
    apply();
    if (m_ink == before && m_thick->isChecked() == thickBefore)
        return; // the eraser, or the ink as it was
    board::PenSettings(settings()).store(m_ink, m_thick->isChecked());
    m_document.history().markModified();
}

void PenTools::apply() {
    m_strokes->setInk(Ink::of(m_ink, m_thick->isChecked()));
    m_pen.setErasing(m_eraser->isChecked());
}

bool PenTools::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::Paint && type != QEvent::KeyPress) || !m_canvas)
        return false;
    // Once the canvas has first painted, the settings may be read.
    if (type == QEvent::Paint) {
        if (!m_loaded && watched == m_canvas)
            QTimer::singleShot(0, this, &PenTools::load);
        return false;
    }
    if (!m_penMode.isChecked() || !watched->isWidgetType())
        return false;
    // The key goes to the focused control, or to the window if none has the focus; a text box
    // keeps its digits.
    QWidget* window = m_canvas->window();
    QWidget* focus = QApplication::focusWidget();
    if (watched != (focus ? focus : window) || static_cast<QWidget*>(watched)->window() != window ||
        isTextBox(focus))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QAction* entry = nullptr;
    if (key->key() >= Qt::Key_1 && key->key() < Qt::Key_1 + Ink::choices)
        entry = m_inks[size_t(key->key() - Qt::Key_1)];
    else if (key->key() == Qt::Key_E)
        entry = m_eraser;
    if (!entry)
        return false;
    load();
    entry->trigger();
    return true;
}

} // namespace app
