// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery.h"

#include "board/document.h"
#include "board/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <utility>

namespace board {

Recovery::Recovery(QString folder) : m_folder(std::move(folder)) {}

Recovery::~Recovery() = default;

QString Recovery::fileOf(int slot, const QString& ending) const {
    return QDir(m_folder).filePath(QStringLiteral("tafel-%1.%2").arg(slot).arg(ending));
}

// A lock is held while its window runs; one whose process has ended is taken over.
bool Recovery::lockSlot(int slot) {
    auto lock = std::make_unique<QLockFile>(fileOf(slot, QStringLiteral("lock")));
    lock->setStaleLockTime(0); // only a lock whose process is gone is stale, however old
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    m_slot = slot;
    return true;
}

// The places whose recovery file is there, whether their window still runs or not.
QList<int> Recovery::leftBehind() const {
    static const QRegularExpression name(QStringLiteral("^tafel-([0-9]{1,6})\\.teiler$"));
    QList<int> left;
    for (const QString& entry : QDir(m_folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch match = name.match(entry);
        if (match.hasMatch())
            left.append(match.captured(1).toInt());
    }
    std::sort(left.begin(), left.end());
    return left;
}

bool Recovery::claimFree(const QList<int>& left) {
    for (int slot = 1; slot < 1000000; ++slot)
        if (!left.contains(slot) && lockSlot(slot))
            return true;
    return false;
}

std::optional<Recovery::Found> Recovery::claim() {
    if (m_lock || !QDir().mkpath(m_folder))
        return std::nullopt;
    const QList<int> left = leftBehind();
    for (int slot : left) {
        if (!lockSlot(slot))
            continue; // its window still runs
        Found found;
        found.path = fileOf(slot, QStringLiteral("teiler"));
        found.written = QFileInfo(found.path).lastModified();
        QFile named(fileOf(slot, QStringLiteral("pfad")));
        if (named.open(QIODevice::ReadOnly))
            found.boardFile = QString::fromUtf8(named.read(64 * 1024)).trimmed();
        return found;
    }
    claimFree(left);
    return std::nullopt;
}

bool Recovery::write(const Board& board, const QString& boardFile, QString* reason) {
    if (!m_lock && QDir().mkpath(m_folder))
        claimFree(leftBehind());
    if (!m_lock) {
        *reason = QStringLiteral("Der Ordner für die Wiederherstellung ist nicht verfügbar.");
        return false;
    }
    const QString named = fileOf(m_slot, QStringLiteral("pfad"));
    if (boardFile.isEmpty())
        QFile::remove(named);
    else if (!SafeFile::Write(boardFile.toUtf8(), named, reason))
        return false;
    return Document::WriteFile(board, fileOf(m_slot, QStringLiteral("teiler")), reason);
}

void Recovery::remove() {
    if (!m_lock)
        return;
    QFile::remove(fileOf(m_slot, QStringLiteral("teiler")));
    QFile::remove(fileOf(m_slot, QStringLiteral("pfad")));
}

QString Recovery::moveAside() {
    const QString from = fileOf(m_slot, QStringLiteral("teiler"));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString to = QDir(m_folder).filePath(
        QStringLiteral("tafel-%1-beschaedigt-%2.teiler").arg(m_slot).arg(stamp));
    for (int n = 2; QFileInfo::exists(to); ++n)
        to = QDir(m_folder).filePath(
            QStringLiteral("tafel-%1-beschaedigt-%2-%3.teiler").arg(m_slot).arg(stamp).arg(n));
    if (!QFile::rename(from, to))
        return from;
    QFile::remove(fileOf(m_slot, QStringLiteral("pfad")));
    return to;
}

} // namespace board
