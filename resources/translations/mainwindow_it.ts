<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
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
</context>
</TS>
