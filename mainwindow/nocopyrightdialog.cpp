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
    ui->fileNameLabel->setText(name);
}

void NoCopyrightDialog::setMessage(QString text)
{
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
    // The form's texts come back in the new language: the file name label
    // shows its placeholder again and the message its default text.
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
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

void NoCopyrightDialog::on_noAllPushButton_clicked()
{
    done(3);
}
