// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exportdialogs.h"

#include "charts/column.h"
#include "failurebox.h"
#include "pictureexport.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

namespace app {

namespace {

const QString wholeRangeName = QStringLiteral("ganzer Bereich");

} // namespace

ExportDialogs::ExportDialogs(QWidget& window, std::function<QImage()> picture,
                             std::function<RangePages()> range)
    : m_window(window), m_picture(std::move(picture)), m_range(std::move(range)) {}

void ExportDialogs::save() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    // The whole range as types of their own: the file type list reaches it from the keyboard.
    QFileDialog dialog(&m_window, QStringLiteral("Bild speichern"), folder,
                       QStringLiteral("PNG-Bild (*.png);;PDF-Dokument (*.pdf);;"
                                      "PNG-Bild, %1 (*.png);;PDF-Dokument, %1, A4-Seiten (*.pdf)")
                           .arg(wholeRangeName));
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(PictureExport::SuggestedName(m_range().rangeBase()));
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
    saveTo(dialog.selectedFiles().constFirst(),
           dialog.selectedNameFilter().contains(wholeRangeName));
}

bool ExportDialogs::saveTo(const QString& path, bool wholeRange) {
    QString error;
    if (wholeRange ? m_range().save(path, &error) : PictureExport::Save(m_picture(), path, &error))
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
    const RangePages pages = m_range();
    printer.setDocName(PictureExport::SuggestedName(pages.rangeBase()).chopped(4));
    QPrintDialog dialog(&printer, &m_window);
    dialog.setObjectName(QStringLiteral("printDialog"));
    // A tab of the dialog's settings: what the frame shows, as before, or the whole range.
    auto* range = new QWidget;
    range->setWindowTitle(QStringLiteral("Zahlenbereich"));
    auto* shown = new QRadioButton(QStringLiteral("&sichtbarer Ausschnitt (eine Seite)"), range);
    auto* whole = new QRadioButton(QStringLiteral("&%1 %2...%3 (%4 Seiten mit Skala)")
                                       .arg(wholeRangeName)
                                       .arg(pages.rangeBase() + 1)
                                       .arg(pages.rangeBase() + charts::Column::count)
                                       .arg(pages.pages().size()),
                                   range);
    whole->setObjectName(QStringLiteral("wholeRangeButton"));
    shown->setChecked(true);
    auto* layout = new QVBoxLayout(range);
    layout->addWidget(shown);
    layout->addWidget(whole);
    layout->addStretch();
    dialog.setOptionTabs({range});
    // Qt's own dialog folds its settings away behind a button: unfold them and show the range's
    // tab, so that the choice is seen at once.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::ResetRole) {
                button->click();
                break;
            }
        }
    }
    for (auto* tabs : dialog.findChildren<QTabWidget*>()) {
        if (tabs->indexOf(range) >= 0)
            tabs->setCurrentWidget(range);
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    printOn(printer, whole->isChecked());
}

bool ExportDialogs::printOn(QPrinter& printer, bool wholeRange) {
    QString error =
        QStringLiteral("Das Fenster zeigt gerade kein Bild (der Rahmen ist zu schmal).");
    if (wholeRange) {
        if (m_range().print(printer, &error))
            return true;
    } else if (const QImage picture = m_picture();
               !picture.isNull() && PictureExport::Print(picture, printer, &error)) {
        return true;
    }
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
