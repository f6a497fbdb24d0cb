<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="it_IT">
<context>
    <name>BackupDialog</name>
    <message>
        <source>Backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Si consiglia di effettuare un backup della libreria prima di procedere con l&apos;aggiornamento.
Selezionare una cartella di destinazione per il backup oppure premere &apos;Prosegui senza backup&apos;.</source>
        <translation>It is recommended to backup your files before proceeding with the update process.
Select a backup destination folder or press &apos;Continue without backup&apos;.</translation>
    </message>
    <message>
        <source>Sfoglia...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Prosegui senza backup</source>
        <translation>Continue without backup</translation>
    </message>
    <message>
        <source>Esegui backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation>Select folder</translation>
    </message>
</context>
<context>
    <name>DataEditDialog</name>
    <message>
        <source>Modifica Dati</source>
        <translation>Edit Details</translation>
    </message>
    <message>
        <source>Percorso file:</source>
        <translation>File path:</translation>
    </message>
    <message>
        <source>Formato:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Modifica i dati della Song:</source>
        <translation>Edit Song info:</translation>
    </message>
    <message>
        <source>Titolo Song:</source>
        <translation>Song title:</translation>
    </message>
    <message>
        <source>Usa il titolo</source>
        <translation>Use title</translation>
    </message>
    <message>
        <source>Usa il filename</source>
        <translation>Use filename</translation>
    </message>
    <message>
        <source>Applica a tutti</source>
        <translation>Apply to all</translation>
    </message>
    <message>
        <source>Interprete:</source>
        <translation>Artist:</translation>
    </message>
    <message>
        <source>Genere Musicale:</source>
        <translation>Genre:</translation>
    </message>
    <message>
        <source>Autore:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>Durata:</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>ss</source>
        <translation>ss</translation>
    </message>
    <message>
        <source>Tonalità:</source>
        <translation>Key:</translation>
    </message>
    <message>
        <source>BPM:</source>
        <translation>BPM:</translation>
    </message>
    <message>
        <source>Salva</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Modifica dati song</source>
        <translation>Edit song details</translation>
    </message>
    <message>
        <source>ATTENZIONE</source>
        <translation>WARNING</translation>
    </message>
    <message>
        <source>L&apos;autore inserito verrà applicato a tutte le song della lista, sei sicuro?</source>
        <translation>This Author will be applied to all the songs of the list, are you sure?</translation>
    </message>
    <message>
        <source>L&apos;interprete inserito verrà applicato a tutte le song della lista, sei sicuro?</source>
        <translation>This Artist will be applied to all the songs of the list, are you sure?</translation>
    </message>
    <message>
        <source>Il genere inserito verrà applicato a tutte le song della lista, sei sicuro?</source>
        <translation>This Genre will be applied to all the songs of the list, are you sure?</translation>
    </message>
    <message>
        <source>Il titolo di tutte le song della lista verrà sovrascritto non il nome del file, sei sicuro?</source>
        <translation>The title of all the songs of the list will be replaced with their filename, are you sure?</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>LibraryModel</name>
    <message>
        <source>Aggiornata</source>
        <translation>Updated</translation>
    </message>
    <message>
        <source>Modificata</source>
        <translation>Edited</translation>
    </message>
    <message>
        <source>Non aggiornata</source>
        <translation>Not updated</translation>
    </message>
    <message>
        <source>Non trovata</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>Invariata</source>
        <translation>Left unchanged</translation>
    </message>
    <message>
        <source>Illeggibile</source>
        <translation>Unreadable</translation>
    </message>
    <message>
        <source>Non salvata</source>
        <translation>Not saved</translation>
    </message>
    <message>
        <source>Completata dal database Tavrel e salvata nel file</source>
        <translation>Completed from the Tavrel database and saved to the file</translation>
    </message>
    <message>
        <source>Modificata a mano e salvata nel file</source>
        <translation>Edited by hand and saved to the file</translation>
    </message>
    <message>
        <source>Il file non è stato aggiornato</source>
        <translation>The file was not updated</translation>
    </message>
    <message>
        <source>La song non è nel database Tavrel: il file non è stato modificato</source>
        <translation>The song is not in the Tavrel database: the file was not changed</translation>
    </message>
    <message>
        <source>Non pubblicata da Tavrel: lasciata invariata come richiesto</source>
        <translation>Not published by Tavrel: left unchanged as you asked</translation>
    </message>
    <message>
        <source>Non è stato possibile leggere il file</source>
        <translation>The file could not be read</translation>
    </message>
    <message>
        <source>Non è stato possibile salvare il file</source>
        <translation>The file could not be saved</translation>
    </message>
    <message>
        <source>Non ancora sincronizzata</source>
        <translation>Not synchronised yet</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Orvalo3 Soft</source>
        <translation>Orvalo3 Soft</translation>
    </message>
    <message>
        <source>Seleziona le basi musicali che desideri inserire nella memoria di Orvalo</source>
        <translation>Select the songs you wish to put in the memory dedicated to Orvalo</translation>
    </message>
    <message>
        <source>Sincronizza song con il
database Tavrel</source>
        <translation>Sync your songs with the
Tavrel database</translation>
    </message>
    <message>
        <source>Trasferisci song nella
memoria di Orvalo</source>
        <translation>Transfer songs in the
Tamsel memory</translation>
    </message>
    <message>
        <source>Opzioni nascoste</source>
        <translation>Hidden options</translation>
    </message>
    <message>
        <source>Abilita log (riavvio necessario!)</source>
        <translation>Enable log (restart required!)</translation>
    </message>
    <message>
        <source>Cancella log ad ogni avvio</source>
        <translation>Clear log every run</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>Add Marker</source>
        <translation>Add Marker</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Reload Stylesheet</source>
        <translation>Reload Stylesheet</translation>
    </message>
    <message>
        <source>Import again</source>
        <translation>Import again</translation>
    </message>
    <message>
        <source>Hide Debug</source>
        <translation>Hide Debug</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Manual Dialog</source>
        <translation>Manual Dialog</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Preferenze</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>Lingua</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Messaggi Copyright</source>
        <translation>Show copyright messages</translation>
    </message>
    <message>
        <source>Strumenti</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Aiuto</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Esci</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Rigenera il database delle song</source>
        <translation>Rebuild songs database</translation>
    </message>
    <message>
        <source>Salva lista delle song</source>
        <translation>Save songs list</translation>
    </message>
    <message>
        <source>Aiuto Orvalo3 Soft</source>
        <translation>Help for Orvalo3 Soft</translation>
    </message>
    <message>
        <source>Informazioni</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Informazioni su QT</source>
        <translation>About QT</translation>
    </message>
    <message>
        <source>Seleziona i file da importare</source>
        <translation>Select files to import</translation>
    </message>
    <message>
        <source>Importo la libreria...</source>
        <translation>Importing library...</translation>
    </message>
    <message>
        <source>Interrompi</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Lettura file</source>
        <translation>Reading file</translation>
    </message>
    <message>
        <source>%1 di %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>Impossibile aprire i database delle song: le funzioni della libreria non sono disponibili.</source>
        <translation>The song databases could not be opened: the library functions are not available.</translation>
    </message>
    <message>
        <source>esiste già, vuoi sostituirlo?</source>
        <translation>is already present, replace it?</translation>
    </message>
    <message>
        <source>Aggiorno la libreria...</source>
        <translation>Updating library...</translation>
    </message>
    <message>
        <source>Aggiornamento file</source>
        <translation>Updating file</translation>
    </message>
    <message>
        <source>Backup FALLITO !!!</source>
        <translation>Backup FAILED !!!</translation>
    </message>
    <message>
        <source>Eseguo backup dellla libreria...</source>
        <translation>Back up the library ...</translation>
    </message>
    <message>
        <source>Backup eseguito correttamente</source>
        <translation>Backup done correctly</translation>
    </message>
    <message>
        <source>Remove from list</source>
        <translation>Remove from list</translation>
    </message>
    <message>
        <source>Delete file</source>
        <translation>Delete file</translation>
    </message>
    <message>
        <source>Attenzione</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Sei sicuro di voler cancellare il file?</source>
        <translation>Are you sure you want to permanently delete the file?</translation>
    </message>
    <message>
        <source>Impossibile eliminare il file:
%1</source>
        <translation>The file could not be deleted:
%1</translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation>Select folder</translation>
    </message>
    <message>
        <source>Trasferimento</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>Non è possibile copiare i file sul disco di sistema</source>
        <translation>Can not copy the file on system disc</translation>
    </message>
    <message>
        <source>Non è possibile copiare i file sulla cartella principale, creare o selezionare una sottocartella</source>
        <translation>It is not possible to copy files on the main folder, select or create a subfolder</translation>
    </message>
    <message>
        <source>Non è possibile utilizzare le cartelle BRIDGE, SFX e PLAYLIST perchè sono riservate per funzionalità specifiche di Tamsel, selezionare un&apos;altra cartella</source>
        <translation>The folders BRIDGE, SFX and PLAYLIST can not be used because they are reserved for specific functions of Tamsel, select another folder</translation>
    </message>
    <message>
        <source>Trasferimento file...</source>
        <translation>Transferring files...</translation>
    </message>
    <message>
        <source>Tutti i file sono stati copiati correttamente</source>
        <translation>All the files have been copied successfully</translation>
    </message>
    <message>
        <source>Non è stato possibile copiare uno o più file</source>
        <translation>It was not possible to copy one or more files</translation>
    </message>
    <message>
        <source>File non copiati:</source>
        <translation>Files not copied:</translation>
    </message>
    <message>
        <source>Aggiornamento database...</source>
        <translation>Updating database...</translation>
    </message>
    <message>
        <source>Aggiornamento</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Un&apos;operazione è in corso. Vuoi interromperla dopo la song in corso e chiudere Orvalo3 Soft?</source>
        <translation>A task is in progress. Do you want to stop it after the current song and close Orvalo3 Soft?</translation>
    </message>
    <message>
        <source>Le song già elaborate restano come sono; le altre non vengono toccate.</source>
        <translation>The songs already done stay as they are; the others are not touched.</translation>
    </message>
    <message>
        <source>Interrompi e chiudi</source>
        <translation>Stop and close</translation>
    </message>
    <message>
        <source>Continua</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Song aggiornate: %1</source>
        <translation>Songs updated: %1</translation>
    </message>
    <message>
        <source>Non trovate nel database Tavrel: %1</source>
        <translation>Not found in the Tavrel database: %1</translation>
    </message>
    <message>
        <source>Lasciate invariate come richiesto: %1</source>
        <translation>Left unchanged as you asked: %1</translation>
    </message>
    <message>
        <source>Non leggibili: %1</source>
        <translation>Unreadable: %1</translation>
    </message>
    <message>
        <source>Non salvate: %1</source>
        <translation>Not saved: %1</translation>
    </message>
    <message>
        <source>Non elaborate per l&apos;interruzione: %1</source>
        <translation>Not reached, as the run was stopped: %1</translation>
    </message>
    <message>
        <source>Sincronizzazione</source>
        <translation>Synchronisation</translation>
    </message>
    <message>
        <source>Sincronizzazione completata</source>
        <translation>Synchronisation completed</translation>
    </message>
    <message>
        <source>Sincronizzazione interrotta</source>
        <translation>Synchronisation stopped</translation>
    </message>
    <message>
        <source>Song non aggiornate per un errore:</source>
        <translation>Songs not updated because of an error:</translation>
    </message>
    <message>
        <source>Modifica dati song</source>
        <translation>Edit song details</translation>
    </message>
    <message>
        <source>Non è stato possibile salvare una o più song</source>
        <translation>One or more songs could not be saved</translation>
    </message>
    <message>
        <source>Song non salvate:</source>
        <translation>Songs not saved:</translation>
    </message>
    <message>
        <source>Non è stato possibile creare la cartella del backup in:
%1</source>
        <translation>The backup folder could not be created in:
%1</translation>
    </message>
    <message>
        <source>Backup interrotto</source>
        <translation>Backup stopped</translation>
    </message>
    <message>
        <source>La sincronizzazione non è stata avviata: nessuna song è stata modificata.</source>
        <translation>The synchronisation did not start: no song was changed.</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Prosegui senza backup</source>
        <translation>Continue without backup</translation>
    </message>
    <message>
        <source>Cartella del backup: %1</source>
        <translation>Backup folder: %1</translation>
    </message>
    <message>
        <source>Questi file non sono nel backup:</source>
        <translation>These files are not in the backup:</translation>
    </message>
    <message>
        <source>%1 song copiate in:
%2</source>
        <translation>%1 songs copied to:
%2</translation>
    </message>
    <message>
        <source>Trasferimento interrotto</source>
        <translation>Transfer stopped</translation>
    </message>
    <message>
        <source>Nessuna song da copiare</source>
        <translation>No songs to copy</translation>
    </message>
    <message>
        <source>I file sono stati copiati, ma l&apos;indice della memoria non è stato aggiornato</source>
        <translation>The files were copied, but the memory&apos;s index was not brought up to date</translation>
    </message>
    <message>
        <source>Nessun file è stato copiato: erano già tutti nella memoria</source>
        <translation>No file was copied: they were all on the memory already</translation>
    </message>
    <message>
        <source>Trasferimento completato</source>
        <translation>Transfer completed</translation>
    </message>
    <message>
        <source>Copiati: %1</source>
        <translation>Copied: %1</translation>
    </message>
    <message>
        <source>Già nella memoria e mantenuti: %1</source>
        <translation>Already on the memory and kept: %1</translation>
    </message>
    <message>
        <source>Non copiati: %1</source>
        <translation>Not copied: %1</translation>
    </message>
    <message>
        <source>Non copiati per l&apos;interruzione: %1</source>
        <translation>Not copied, as the transfer was stopped: %1</translation>
    </message>
    <message>
        <source>Nessun file copiato: l&apos;indice della memoria non è stato modificato.</source>
        <translation>No file copied: the memory&apos;s index was not changed.</translation>
    </message>
    <message>
        <source>L&apos;indice della memoria è stato aggiornato.</source>
        <translation>The memory&apos;s index was brought up to date.</translation>
    </message>
    <message>
        <source>L&apos;indice della memoria NON è stato aggiornato: il lettore non mostrerà le song nuove. Aggiornalo con &quot;%1&quot;.</source>
        <translation>The memory&apos;s index was NOT brought up to date: the player will not show the new songs. Update it with &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Il lettore non sa leggere il nome della cartella &quot;%1&quot; (caratteri speciali o punto iniziale): selezionare o creare un&apos;altra cartella</source>
        <translation>The player cannot read the name of the folder &quot;%1&quot; (special characters or a leading dot): select or create another folder</translation>
    </message>
    <message>
        <source>La memoria è piena: non tutte le song sono state copiate</source>
        <translation>The memory is full: not every song was copied</translation>
    </message>
    <message>
        <source>Copiati con un nome che la memoria e il lettore sanno leggere:</source>
        <translation>Copied under a name the memory and the player can read:</translation>
    </message>
    <message>
        <source>Memoria occupata: un trasferimento o un aggiornamento del database è già in corso su questa memoria. Riprovare quando è terminato.</source>
        <translation>Memory busy: a transfer or a database update is already at work on this memory. Try again when it has ended.</translation>
    </message>
    <message>
        <source>Importazione</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Un salvataggio interrotto ha lasciato una copia nascosta accanto a una o più song. Ogni copia contiene la sua song com&apos;era prima di quel salvataggio: se la song non si apre più, mettila al suo posto; se la song è a posto, eliminala.</source>
        <translation>An interrupted save left a hidden copy beside one or more songs. Each copy holds its song as it was before that save: if the song no longer opens, put the copy in its place; once the song is right, delete the copy.</translation>
    </message>
    <message>
        <source>Copie lasciate:</source>
        <translation>Copies left:</translation>
    </message>
</context>
<context>
    <name>NoCopyrightDialog</name>
    <message>
        <source>Richiesta conferma</source>
        <translation>Confirmation request</translation>
    </message>
    <message>
        <source>Il file:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Non è stato pubblicato da Tavrel. Si vuole procedere comunque con le modifiche?</source>
        <translation>Was not published by Tavrel. Do you want to proceed with editing?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Si tutti</source>
        <translation>Yes all</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>No tutti</source>
        <translation>No all</translation>
    </message>
</context>
<context>
    <name>ProceedDialog</name>
    <message>
        <source>Riassunto</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>Riassunto importazione</source>
        <translation>Import summary</translation>
    </message>
    <message>
        <source>Si vuole procedere alla sincronizzazione automatica con il database?</source>
        <translation>Do you want to proceed with automatic synchronization?</translation>
    </message>
    <message>
        <source>Non mostrare più messaggi sul copyright</source>
        <translation>Don&apos;t show messages on copyright</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Sono stati esaminti %1 files, trovate %2 songs di cui %3 di (c)Tavrel</source>
        <translation>%1 files have been examined, found %2 songs of which %3 (c) Tavrel</translation>
    </message>
</context>
<context>
    <name>ReportBox</name>
    <message>
        <source>... e altri %1 (vedi i dettagli)</source>
        <translation>... and %1 more (see the details)</translation>
    </message>
</context>
</TS>
