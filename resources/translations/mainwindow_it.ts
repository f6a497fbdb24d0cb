<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>BackupDialog</name>
    <message>
        <source>Backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si consiglia di effettuare un backup della libreria prima di procedere con l&apos;aggiornamento.
Selezionare una cartella di destinazione per il backup oppure premere &apos;Prosegui senza backup&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sfoglia...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prosegui senza backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esegui backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataEditDialog</name>
    <message>
        <source>Modifica Dati</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Percorso file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Formato:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modifica i dati della Song:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titolo Song:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usa il titolo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usa il filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applica a tutti</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interprete:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Genere Musicale:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Autore:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Durata:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tonalità:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BPM:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Salva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modifica dati song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ATTENZIONE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;autore inserito verrà applicato a tutte le song della lista, sei sicuro?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;interprete inserito verrà applicato a tutte le song della lista, sei sicuro?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il genere inserito verrà applicato a tutte le song della lista, sei sicuro?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il titolo di tutte le song della lista verrà sovrascritto non il nome del file, sei sicuro?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryModel</name>
    <message>
        <source>Aggiornata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modificata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non aggiornata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non trovata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invariata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Illeggibile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non salvata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Completata dal database Tavrel e salvata nel file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modificata a mano e salvata nel file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file non è stato aggiornato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La song non è nel database Tavrel: il file non è stato modificato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non pubblicata da Tavrel: lasciata invariata come richiesto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è stato possibile leggere il file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è stato possibile salvare il file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non ancora sincronizzata</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Orvalo3 Soft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seleziona le basi musicali che desideri inserire nella memoria di Orvalo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sincronizza song con il
database Tavrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trasferisci song nella
memoria di Orvalo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opzioni nascoste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abilita log (riavvio necessario!)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancella log ad ogni avvio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Marker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reload Stylesheet</source>
        <translation>Ricarica Stylesheet</translation>
    </message>
    <message>
        <source>Import again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferenze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lingua</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Messaggi Copyright</source>
        <translation>Mostra messaggi copyright</translation>
    </message>
    <message>
        <source>Strumenti</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aiuto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esci</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rigenera il database delle song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Salva lista delle song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aiuto Orvalo3 Soft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Informazioni</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Informazioni su QT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from list</source>
        <translation>Rimuovi dalla lista</translation>
    </message>
    <message>
        <source>Delete file</source>
        <translation>Elimina file</translation>
    </message>
    <message>
        <source>Sei sicuro di voler cancellare il file?</source>
        <translation>Sei sicuro di voler eliminare definitivamente il file?</translation>
    </message>
    <message>
        <source>Un&apos;operazione è in corso. Vuoi interromperla dopo la song in corso e chiudere Orvalo3 Soft?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le song già elaborate restano come sono; le altre non vengono toccate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrompi e chiudi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continua</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importo la libreria...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lettura file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aggiorno la libreria...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aggiornamento file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eseguo backup dellla libreria...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trasferimento file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trasferimento</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aggiornamento database...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aggiornamento</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Song aggiornate: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non trovate nel database Tavrel: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lasciate invariate come richiesto: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non leggibili: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non salvate: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non elaborate per l&apos;interruzione: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sincronizzazione</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sincronizzazione completata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sincronizzazione interrotta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Song non aggiornate per un errore:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modifica dati song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è stato possibile salvare una o più song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Song non salvate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attenzione</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile eliminare il file:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seleziona i file da importare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrompi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 di %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile aprire i database delle song: le funzioni della libreria non sono disponibili.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup FALLITO !!!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è stato possibile creare la cartella del backup in:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup interrotto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La sincronizzazione non è stata avviata: nessuna song è stata modificata.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prosegui senza backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cartella del backup: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Questi file non sono nel backup:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup eseguito correttamente</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 song copiate in:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è possibile copiare i file sul disco di sistema</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è possibile copiare i file sulla cartella principale, creare o selezionare una sottocartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è possibile utilizzare le cartelle BRIDGE, SFX e PLAYLIST perchè sono riservate per funzionalità specifiche di Tamsel, selezionare un&apos;altra cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è stato possibile copiare uno o più file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trasferimento interrotto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessuna song da copiare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I file sono stati copiati, ma l&apos;indice della memoria non è stato aggiornato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tutti i file sono stati copiati correttamente</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessun file è stato copiato: erano già tutti nella memoria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trasferimento completato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copiati: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Già nella memoria e mantenuti: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non copiati: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non copiati per l&apos;interruzione: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessun file copiato: l&apos;indice della memoria non è stato modificato.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;indice della memoria è stato aggiornato.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;indice della memoria NON è stato aggiornato: il lettore non mostrerà le song nuove. Aggiornalo con &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File non copiati:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>esiste già, vuoi sostituirlo?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore non sa leggere il nome della cartella &quot;%1&quot; (caratteri speciali o punto iniziale): selezionare o creare un&apos;altra cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La memoria è piena: non tutte le song sono state copiate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copiati con un nome che la memoria e il lettore sanno leggere:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memoria occupata: un trasferimento o un aggiornamento del database è già in corso su questa memoria. Riprovare quando è terminato.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importazione</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Un salvataggio interrotto ha lasciato una copia nascosta accanto a una o più song. Ogni copia contiene la sua song com&apos;era prima di quel salvataggio: se la song non si apre più, mettila al suo posto; se la song è a posto, eliminala.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copie lasciate:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoCopyrightDialog</name>
    <message>
        <source>Richiesta conferma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non è stato pubblicato da Tavrel. Si vuole procedere comunque con le modifiche?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si tutti</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No tutti</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProceedDialog</name>
    <message>
        <source>Riassunto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si vuole procedere alla sincronizzazione automatica con il database?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non mostrare più messaggi sul copyright</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Riassunto importazione</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sono stati esaminti %1 files, trovate %2 songs di cui %3 di (c)Tavrel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportBox</name>
    <message>
        <source>... e altri %1 (vedi i dettagli)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
