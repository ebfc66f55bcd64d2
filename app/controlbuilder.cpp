// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlbuilder.h"

#include "board/boardfile.h"

#include "layouttable.h"
#include "surface/multilinetextbox.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"
#include "surface/shape.h"
#include "surface/twips.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <utility>
#include <vector>

namespace app {

namespace {

using Layout = LayoutTable;
using surface::PictureBox;
using surface::Twips;

const QString formName = QStringLiteral("Form1");

QColor resolve(QRgb colour, const QColor& system) {
    if (colour == Layout::SystemWindow || colour == Layout::SystemWindowText ||
        colour == Layout::Default)
        return system;
    return QColor::fromRgb(colour);
}

Qt::Alignment alignmentOf(unsigned flags) {
    if (flags & Layout::AlignCenter)
        return Qt::AlignCenter;
    if (flags & Layout::AlignRight)
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The widget of one row, inside container, with what makes that kind of control what it is.
QWidget* makeControl(const Layout::Control& c, QWidget* container, const QFont& font,
                     const QPalette& system) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case Layout::Kind::PictureBox: {
        auto* box = new PictureBox(container);
        box->setBackColor(resolve(c.back, system.color(QPalette::Base)));
        box->setBorder((c.flags & Layout::NoBorder) ? PictureBox::Border::None
                                                    : PictureBox::Border::Flat);
        box->setBoxFont(font);
        box->ForeColor = resolve(c.fore, system.color(QPalette::Text));
        return box;
    }
    case Layout::Kind::HScrollBar:
    case Layout::Kind::VScrollBar: {
        auto* bar = new surface::ScrollBar(c.kind == Layout::Kind::VScrollBar ? Qt::Vertical
                                                                              : Qt::Horizontal,
                                           c.min, c.max, container);
        bar->SetValue(c.value);
        return bar;
    }
    case Layout::Kind::TextBox: {
        auto* edit = new QLineEdit(text, container);
        edit->setAlignment(alignmentOf(c.flags));
        // The boxes a board keeps hold no more than its file takes, so that whatever is typed or
        // pasted can be saved; the help line is the program's own.
        if (QLatin1String(c.name) != QLatin1String("txtHilfe"))
            edit->setMaxLength(board::BoardFile::maxBoxLength);
        return edit;
    }
    case Layout::Kind::MultiLineTextBox: {
        // Always with a vertical scroll bar, never with a horizontal one.
        auto* box = new surface::MultiLineTextBox(container);
        box->setTabChangesFocus(true);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (c.flags & Layout::Flat)
            box->setFrameStyle(QFrame::Box | QFrame::Plain);
        box->setText(text);
        box->setMaxLength(board::BoardFile::maxHitListLength);
        return box;
    }
    case Layout::Kind::CommandButton: {
        auto* button = new QPushButton(text, container);
        // Return and Enter press the focused button, as Space does.
        button->setAutoDefault(true);
        return button;
    }
    case Layout::Kind::Label: {
        auto* label = new QLabel(text, container);
        label->setAlignment(alignmentOf(c.flags));
        return label;
    }
    case Layout::Kind::Frame:
        return new QGroupBox(text, container);
    case Layout::Kind::Shape: {
        auto* shape = new surface::Shape(container);
        shape->setOutline(QColor::fromRgb(c.fore), 2);
        return shape;
    }
    }
    return nullptr;
}

// Font, colours, size and place of the row, the same for every kind of control.
void applyRow(const Layout::Control& c, QWidget* w, QWidget* container, const QFont& font,
              const QPalette& system) {
    w->setObjectName(QString::fromLatin1(c.name));
    w->setFont(font);
    if (c.back != Layout::Default && c.kind != Layout::Kind::PictureBox) {
        QPalette p = w->palette();
        const QColor back = resolve(c.back, system.color(QPalette::Base));
        const bool editable =
            c.kind == Layout::Kind::TextBox || c.kind == Layout::Kind::MultiLineTextBox;
        p.setColor(editable ? QPalette::Base : QPalette::Window, back);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
    if (c.fore != Layout::Default && c.fore != Layout::SystemWindowText &&
        c.kind != Layout::Kind::Shape) {
        QPalette p = w->palette();
        p.setColor(QPalette::Text, QColor::fromRgb(c.fore));
        p.setColor(QPalette::WindowText, QColor::fromRgb(c.fore));
        w->setPalette(p);
    }
    w->resize(Twips::toPixels(c.width), Twips::toPixels(c.height));
    if (auto* holder = qobject_cast<PictureBox*>(container))
        holder->moveChild(w, c.left, c.top);
    else
        w->move(Twips::toPixels(c.left), Twips::toPixels(c.top));
}

} // namespace

QHash<QString, QWidget*> ControlBuilder::Build(QWidget* form) {
    QHash<QString, QWidget*> byName{{formName, form}};
    std::vector<std::pair<int, QWidget*>> tabOrder;
    const QPalette system = QGuiApplication::palette();

    for (const Layout::Control& c : Layout::controls()) {
        QWidget* container = byName.value(QString::fromLatin1(c.container));
        QFont font = QGuiApplication::font();
        if (c.fontFamily) {
            font = QFont(QString::fromLatin1(c.fontFamily));
            font.setPointSizeF(c.fontSize);
        }
        font.setBold(c.bold);

        QWidget* w = makeControl(c, container, font, system);
        applyRow(c, w, container, font, system);
        // Frames, labels and the shape take no focus; everything else is in the tab order.
        const bool takesFocus = c.kind != Layout::Kind::Frame && c.kind != Layout::Kind::Label &&
                                c.kind != Layout::Kind::Shape;
        if (takesFocus) {
            if (c.kind == Layout::Kind::PictureBox)
                w->setFocusPolicy(Qt::StrongFocus);
            tabOrder.emplace_back(c.tab, w);
        }
        byName.insert(w->objectName(), w);
    }

    // The table lists the topmost control first.
    const auto all = Layout::controls();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        byName.value(QString::fromLatin1(it->name))->raise();
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    if (!tabOrder.empty())
        tabOrder.front().second->setFocus();

    byName.remove(formName);
    return byName;
}

} // namespace app
