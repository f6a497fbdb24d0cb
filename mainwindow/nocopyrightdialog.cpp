#include "mainwindow/nocopyrightdialog.h"
#include "ui_nocopyrightdialog.h"

#include <QEvent>

NoCopyrightDialog::NoCopyrightDialog(QWidget* parent)
    : QDialog(parent),
      ui(new Ui_NoCopyrightDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Richiesta conferma"));
}

NoCopyrightDialog::~NoCopyrightDialog()
{
    delete ui;
}

void NoCopyrightDialog::setFilename(QString name)
{
    fileName = name;
    ui->fileNameLabel->setText(name);
}

void NoCopyrightDialog::setMessage(QString text)
{
    message = text;
    ui->label_2->setText(text);
}

void NoCopyrightDialog::setYesNoOnly(bool only)
{
    yesNoOnly = only;
    ui->yesAllPushButton->setVisible(!only);
    ui->noAllPushButton->setVisible(!only);
}

void NoCopyrightDialog::changeEvent(QEvent* event)
{
    // The form's texts come back in the new language; the file name and a
    // message given by the caller stay.
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setWindowTitle(tr("Richiesta conferma"));
        if (!fileName.isNull())
            ui->fileNameLabel->setText(fileName);
        if (!message.isNull())
            ui->label_2->setText(message);
    }
    QDialog::changeEvent(event);
}

void NoCopyrightDialog::on_yesPushButton_clicked()
{
    done(0);
}

void NoCopyrightDialog::on_yesAllPushButton_clicked()
{
    done(1);
}

void NoCopyrightDialog::on_noPushButton_clicked()
{
    done(2);
}

void NoCopyrightDialog::reject()
{
    done(2);
}

void NoCopyrightDialog::on_noAllPushButton_clicked()
{
    done(3);
}
