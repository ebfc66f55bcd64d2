// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "boardcommands.h"

#include "board/autosave.h"
#include "board/document.h"
#include "board/presets.h"
#include "failurebox.h"
#include "pictureexport.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>
#include <utility>

namespace app {

namespace {

const QString boardFilter = QStringLiteral("Teiler-Tafel (*.teiler)");

// The folder the teacher last chose, else the one the admin preset, made if need be.
QString boardFolder() {
    return board::Presets::Read().boardFolder(true);
}

// The folder of a board the teacher chose in a dialog is where the next dialog opens.
void rememberFolder(const QString& path) {
    if (!board::Presets::Read().fixed(board::Presets::Option::Folder))
        board::Presets::Remember(board::Presets::Option::Folder, QFileInfo(path).absolutePath());
}

QString shownName(const QString& path) {
    return path.isEmpty() ? QStringLiteral("Unbenannt") : QFileInfo(path).fileName();
}

} // namespace

BoardCommands::BoardCommands(QWidget& window, board::Document& document, Window access,
                             const QString& recoveryFolder, QObject* parent)
    : QObject(parent), m_window(window), m_document(document), m_access(std::move(access)),
      m_startBoard(m_access.capture()),

      m_recovery(recoveryFolder) {
#if QT_CONFIG(sessionmanager)
    // The desktop's session ends (a logout): the same question as on closing, where the session
    // lets the program ask; else the recovery file is written at once.
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
            if (!m_document.isModified())
                return;
            if (!session.allowsInteraction()) {
                m_autoSave->saveNow();
                return;
            }
            if (!maybeSave())
                session.cancel();
            session.release();
        });
#endif
    m_autoSave = new board::AutoSave(m_document, m_recovery, m_access.capture, this);
    connect(m_autoSave, &board::AutoSave::failed, this, &BoardCommands::tellRecoveryFailed);
}

// Told once a dialog the teacher is answering has gone, never on top of it.
void BoardCommands::tellRecoveryFailed(const QString& reason) {
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(500, this, [this, reason] { tellRecoveryFailed(reason); });
        return;
    }
    FailureBox::Show(&m_window, QStringLiteral("Sicherung"),
                     QStringLiteral("Die Sicherung der ungespeicherten Tafel in\n%1\nist "
                                    "fehlgeschlagen.\n\n%2")
                         .arg(QDir::toNativeSeparators(m_recovery.folder()), reason),
                     QStringLiteral("recoveryErrorBox"));
}

// A window that goes without being closed (as in the tests) leaves nothing behind either.
BoardCommands::~BoardCommands() {
    m_recovery.remove();
}

void BoardCommands::showBoard(const board::Board& board, const QString& path) {
    m_access.show(board);
    m_document.history().clear();
    m_document.setSaved(path);
}

// The board as at start-up; the pen, its ink and the colours stay as the teacher chose them.
void BoardCommands::newBoard() {
    m_access.stopDrawing();
    if (!maybeSave())
        return;
    board::Board fresh = m_startBoard;
    const board::Board now = m_access.capture();
    fresh.penMode = now.penMode;
    fresh.colourBlind = now.colourBlind;
    fresh.penInk = now.penInk;
    fresh.penThick = now.penThick;
    showBoard(fresh, QString());
}

void BoardCommands::open() {
    m_access.stopDrawing();
    if (!maybeSave())
        return;
    QFileDialog dialog(&m_window, QStringLiteral("Tafel öffnen"), boardFolder(), boardFilter);
    dialog.setObjectName(QStringLiteral("boardOpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    if (openFile(dialog.selectedFiles().constFirst()))
        rememberFolder(dialog.selectedFiles().constFirst());
}

void BoardCommands::openRecent(const QString& path) {
    m_access.stopDrawing();
    if (!QFileInfo::exists(path)) {
        recent().remove(path);
        FailureBox::Show(&m_window, QStringLiteral("Tafel öffnen"),
                         QStringLiteral("Die Tafel\n%1\ngibt es nicht mehr; sie wird aus der "
                                        "Liste „Zuletzt geöffnet“ genommen.")
                             .arg(QDir::toNativeSeparators(path)),
                         QStringLiteral("boardOpenErrorBox"));
        return;
    }
    if (maybeSave())
        openFile(path);
}

bool BoardCommands::openFile(const QString& path) {
    m_access.stopDrawing();
    QString reason;
    const std::optional<board::Board> board = board::Document::ReadFile(path, &reason);
    if (!board) {
        FailureBox::Show(&m_window, QStringLiteral("Tafel öffnen"),
                         QStringLiteral("Die Tafel\n%1\nkonnte nicht geöffnet werden.\n\n%2")
                             .arg(QDir::toNativeSeparators(path), reason),
                         QStringLiteral("boardOpenErrorBox"));
        return false;
    }
    showBoard(*board, path);
    recent().add(path);
    return true;
}

bool BoardCommands::save() {
    return m_document.filePath().isEmpty() ? saveAs() : saveTo(m_document.filePath());
}

bool BoardCommands::saveAs() {
    const QString current = m_document.filePath();
    QFileDialog dialog(&m_window, QStringLiteral("Tafel speichern unter"),
                       current.isEmpty() ? boardFolder() : QFileInfo(current).absolutePath(),
                       boardFilter);
    dialog.setObjectName(QStringLiteral("boardSaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("teiler"));
    // An unnamed board is named as its picture would be, with the board's ending.
    dialog.selectFile(current.isEmpty()
                          ? PictureExport::SuggestedName(m_access.capture().rangeBase).chopped(4) +
                                QStringLiteral(".teiler")
                          : QFileInfo(current).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    if (!saveTo(dialog.selectedFiles().constFirst()))
        return false;
    rememberFolder(dialog.selectedFiles().constFirst());
    return true;
}

bool BoardCommands::saveTo(const QString& path) {
    QString reason;
    if (board::Document::WriteFile(m_access.capture(), path, &reason)) {
        m_document.setSaved(path);
        recent().add(path);
        m_autoSave->saveNow();
        return true;
    }
    FailureBox::Show(&m_window, QStringLiteral("Tafel speichern"),
                     QStringLiteral("Die Tafel konnte nicht als\n%1\ngespeichert werden.\n\n%2")
                         .arg(QDir::toNativeSeparators(path), reason),
                     QStringLiteral("boardSaveErrorBox"));
    return false;
}

bool BoardCommands::maybeSave() {
    if (!m_document.isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Teiler"),
                    QStringLiteral("Die Tafel „%1“ wurde geändert.\nSollen die Änderungen "
                                   "gespeichert werden?")
                        .arg(shownName(m_document.filePath())),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &m_window);
    box.setObjectName(QStringLiteral("saveQuestionBox"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    // Qt's German texts carry no mnemonic; Alt and the first letter choose a button too.
    for (QAbstractButton* button : box.buttons())
        if (!button->text().contains(QLatin1Char('&')))
            button->setText(QLatin1Char('&') + button->text());
    box.exec();
    // By the button chosen: closing the question any other way keeps the board as it is.
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void BoardCommands::offerRecovery() {
    const std::optional<board::Recovery::Found> left = m_recovery.claim();
    if (!left)
        return;
    const board::Recovery::Found& found = *left;
    QString reason;
    const std::optional<board::Board> board = board::Document::ReadFile(found.path, &reason);
    if (!board) {
        const QString aside = m_recovery.moveAside();
        FailureBox::Show(&m_window, QStringLiteral("Tafel wiederherstellen"),
                         QStringLiteral("Die gesicherte Tafel konnte nicht geöffnet werden; sie "
                                        "liegt nun unter\n%1\n\n%2")
                             .arg(QDir::toNativeSeparators(aside), reason),
                         QStringLiteral("recoveryErrorBox"));
        return;
    }
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString named = found.boardFile.isEmpty()
                              ? QString()
                              : QStringLiteral(" „%1“").arg(QFileInfo(found.boardFile).fileName());
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tafel wiederherstellen"),
                    QStringLiteral("Teiler wurde zuletzt nicht ordentlich beendet. Die "
                                   "ungespeicherte Tafel%1, gesichert am %2 um %3 Uhr, kann "
                                   "wiederhergestellt werden.")
                        .arg(named, german.toString(found.written.date(), QLocale::ShortFormat),
                             german.toString(found.written.time(), QStringLiteral("HH:mm"))),
                    QMessageBox::NoButton, &m_window);
    box.setObjectName(QStringLiteral("recoveryBox"));
    QPushButton* restore =
        box.addButton(QStringLiteral("Wiederherstellen"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Verwerfen"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    // Only "Verwerfen" drops the board; closing the question keeps it.
    if (box.clickedButton() == discard) {
        m_recovery.remove();
        return;
    }
    m_access.show(*board);
    m_document.history().clear();
    m_document.setRestored(found.boardFile);
}

void BoardCommands::fillRecentMenu(QMenu& menu) {
    menu.clear();
    const QStringList paths = recent().list();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        entry->setToolTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    if (paths.isEmpty())
        menu.addAction(QStringLiteral("(keine)"))->setEnabled(false);
}

// The settings are read when a recent board is first wanted, not while the window starts.
board::RecentBoards BoardCommands::recent() {
    if (!m_settings)
        m_settings =
            std::make_unique<QSettings>(QStringLiteral("Teiler"), QStringLiteral("Teiler"));
    return board::RecentBoards(*m_settings);
}

void BoardCommands::closing() {
    m_autoSave->stop();
    m_recovery.remove();
}

} // namespace app
