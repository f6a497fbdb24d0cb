<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>FileCopier</name>
    <message>
        <source>il file non esiste più</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la copia è incompleta (memoria piena?)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la memoria è piena</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il suo percorso sulla memoria sarebbe troppo lungo per il lettore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>al suo posto c&apos;è una cartella: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>impossibile rinominare la copia</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemoryEject</name>
    <message>
        <source>La memoria %1 è stata espulsa: ora può essere rimossa.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La memoria %1 non può essere espulsa perché è in uso: chiudere i programmi e le finestre che la usano e riprovare. Non rimuoverla prima.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espellere la memoria %1 dal desktop prima di rimuoverla.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La memoria %1 non è stata espulsa (%2): espellerla dal desktop prima di rimuoverla.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espelli la memoria</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SongOutcome</name>
    <message>
        <source>non è stato possibile leggere il file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
