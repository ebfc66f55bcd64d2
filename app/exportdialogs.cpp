// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exportdialogs.h"

#include "failurebox.h"
#include "pictureexport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <utility>

namespace app {

ExportDialogs::ExportDialogs(QWidget& window, std::function<QImage()> picture,
                             std::function<int()> rangeBase)
    : m_window(window), m_picture(std::move(picture)), m_rangeBase(std::move(rangeBase)) {}

void ExportDialogs::save() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QFileDialog dialog(&m_window, QStringLiteral("Bild speichern"), folder,
                       QStringLiteral("PNG-Bild (*.png);;PDF-Dokument (*.pdf)"));
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(PictureExport::SuggestedName(m_rangeBase()));
    // Choosing the other type changes the ending of the name as well.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            const QString ending = filter.contains(QLatin1String("*.pdf")) ? QStringLiteral("pdf")
                                                                           : QStringLiteral("png");
            dialog.setDefaultSuffix(ending);
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name)
                return;
            const QString base = QFileInfo(name->text()).completeBaseName();
            if (!base.isEmpty())
                dialog.selectFile(base + QLatin1Char('.') + ending);
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    saveTo(dialog.selectedFiles().constFirst());
}

bool ExportDialogs::saveTo(const QString& path) {
    QString error;
    if (PictureExport::Save(m_picture(), path, &error))
        return true;
    FailureBox::Show(&m_window, QStringLiteral("Bild speichern"),
                     QStringLiteral("Das Bild konnte nicht als\n%1\ngespeichert werden.\n\n%2")
                         .arg(QDir::toNativeSeparators(path), error),
                     QStringLiteral("saveErrorBox"));
    return false;
}

void ExportDialogs::copy() {
    const QImage picture = m_picture();
    if (!picture.isNull())
        PictureExport::Copy(picture);
}

void ExportDialogs::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(PictureExport::SuggestedName(m_rangeBase()).chopped(4));
    QPrintDialog dialog(&printer, &m_window);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    printOn(printer);
}

bool ExportDialogs::printOn(QPrinter& printer) {
    const QImage picture = m_picture();
    QString error =
        QStringLiteral("Das Fenster zeigt gerade kein Bild (der Rahmen ist zu schmal).");
    if (!picture.isNull() && PictureExport::Print(picture, printer, &error))
        return true;
    const QString file = printer.outputFormat() == QPrinter::PdfFormat
                             ? QDir::toNativeSeparators(printer.outputFileName())
                             : QString();
    FailureBox::Show(&m_window, QStringLiteral("Drucken"),
                     file.isEmpty()
                         ? QStringLiteral("Das Bild konnte nicht gedruckt werden.\n\n%1").arg(error)
                         : QStringLiteral("Das Bild konnte nicht in die Datei\n%1\ngedruckt werden."
                                          "\n\n%2")
                               .arg(file, error),
                     QStringLiteral("printErrorBox"));
    return false;
}

} // namespace app
