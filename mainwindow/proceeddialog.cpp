#include "mainwindow/proceeddialog.h"
#include "ui_proceeddialog.h"

#include <QEvent>

ProceedDialog::ProceedDialog(QWidget* parent)
    : QDialog(parent),
      ui(new Ui_ProceedDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Riassunto importazione"));
}

ProceedDialog::~ProceedDialog()
{
    delete ui;
}

void ProceedDialog::setFilesCount(int songs, int tavrelSongs, int unreadable)
{
    shownSongs = songs;
    shownTavrelSongs = tavrelSongs;
    shownUnreadable = unreadable;
    // The first number counts every file examined, readable or not.
    ui->msgLabel->setText(tr("Sono stati esaminti %1 files, trovate %2 songs di cui %3 di (c)Tavrel")
                              .arg(songs + unreadable)
                              .arg(songs)
                              .arg(tavrelSongs));
}

bool ProceedDialog::getShowAgainValue() const
{
    return !ui->checkBoxShowAgain->isChecked();
}

void ProceedDialog::on_yesPushButton_clicked()
{
    done(1);
}

void ProceedDialog::on_noPushButton_clicked()
{
    done(0);
}

void ProceedDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

// The form's own texts, then the title and summary the form does not hold.
void ProceedDialog::retranslate()
{
    ui->retranslateUi(this);
    setWindowTitle(tr("Riassunto importazione"));
    if (shownSongs >= 0)
        setFilesCount(shownSongs, shownTavrelSongs, shownUnreadable);
}
