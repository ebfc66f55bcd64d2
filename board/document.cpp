// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document.h"

#include "board/boardfile.h"
#include "board/safefile.h"

#include <QFile>
#include <QFileInfo>
#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace board {

namespace {

QString unreadable(const QString& why) {
    return QStringLiteral("Die Datei lässt sich nicht lesen (%1).").arg(why);
}

QString notAFile(bool folder) {
    return folder ? QStringLiteral("Das ist ein Ordner, keine Tafel.")
                  : QStringLiteral("Das ist keine gewöhnliche Datei (sondern etwa eine benannte "
                                   "Pipe oder ein Gerät); Teiler liest daraus keine Tafel.");
}

// Opens path for reading if it is a regular file, never waiting for a writer; else false with
// the reason.
bool openRegular(QFile& file, const QString& path, QString* reason) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *reason = unreadable(qt_error_string(errno));
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        *reason = notAFile(S_ISDIR(status.st_mode));
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *reason = unreadable(file.errorString());
        return false;
    }
    return true;
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *reason = notAFile(info.isDir());
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = unreadable(file.errorString());
        return false;
    }
    return true;
#endif
}

} // namespace

Document::Document(Canvas& canvas, QObject* parent) : QObject(parent), m_history(canvas) {
    connect(&m_history, &History::cleanChanged, this, &Document::titleChanged);
}

QString Document::windowTitle() const {
    if (m_filePath.isEmpty() && !isModified())
        return QStringLiteral("Teiler");
    const QString name =
        m_filePath.isEmpty() ? QStringLiteral("Unbenannt") : QFileInfo(m_filePath).fileName();
    return name + QStringLiteral("[*] – Teiler");
}

void Document::setSaved(const QString& path) {
    m_filePath = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_history.markClean();
    emit titleChanged();
}

void Document::setRestored(const QString& path) {
    m_filePath = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_history.markModified();
    emit titleChanged();
}

std::optional<Board> Document::ReadFile(const QString& path, QString* reason) {
    QFile file;
    if (!openRegular(file, path, reason))
        return std::nullopt;
    if (file.size() > BoardFile::maxBytes) {
        *reason = BoardFile::TooLargeReason();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(BoardFile::maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *reason = unreadable(file.errorString());
        return std::nullopt;
    }
    return BoardFile::Read(bytes, reason);
}

bool Document::WriteFile(const Board& board, const QString& path, QString* reason) {
    const std::optional<QByteArray> bytes = BoardFile::Write(board, reason);
    return bytes && SafeFile::Write(*bytes, path, reason);
}

} // namespace board
